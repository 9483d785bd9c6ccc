#pragma once

#include <tarn/toasts/ToastManager.h>

#include <juce_events/juce_events.h>

#include <optional>

namespace brindlex
{

/** Opens the user manual: the PDF in the user's product folder, or else the one a package
    installed among the system's documents; when there is neither, an error toast and the
    product's web page.

    Documents and addresses go to the desktop's opener ("xdg-open") as one argument of its
    argument list, never through a shell. Openers that finished are reaped. An opener that
    cannot be started, or ends with a failure (xdg-open does when the desktop has no program
    for PDF files), leaves an error toast that says where the manual is, so the musician can
    open it another way. [message thread] */
class ManualOpener : private juce::Timer
{
public:
    static constexpr const char* missingManualMessage =
        "Sorry, we can't find the manual installed. Taking you to the Brindlex website.";

    /** What the toast says when the manual or the web page could not be shown. */
    static juce::String cannotOpenManualMessage (const juce::File& manual);
    static juce::String cannotOpenPageMessage (const juce::String& address);

    /** The manual is "<productFolder>/<product> Manual <version>.pdf"; the web page is
        `websiteBase` + the product name in lower case with blanks as "-" + "#plugindownloads". */
    ManualOpener (tarn::ToastManager& toasts, juce::File productFolder, juce::String productName,
                  juce::String version, juce::String websiteBase);
    ~ManualOpener() override;

    /** The user's own copy, where `make run` installs it. */
    juce::File getManualFile() const;

    /** The copy open() opens: the user's own, or else an installed one; none when neither
        exists. */
    std::optional<juce::File> findManual() const;
    juce::String getProductPageAddress() const;

    /** Opens the manual or, with a toast, the web page. Returns what it asked the opener
        to open (empty when the opener could not be started). */
    juce::String open();

    /** The program that opens documents and addresses (tests use one that records). */
    void setOpenerProgram (const juce::String& program) { openerProgram = program; }

    /** Openers started and not finished yet. */
    int getNumRunningOpeners();

private:
    struct Opener
    {
        std::unique_ptr<juce::ChildProcess> process;
        juce::String failureMessage; // the toast if it fails
    };

    bool startOpener (const juce::String& target, const juce::String& failureMessage);
    void timerCallback() override;

    tarn::ToastManager& toasts;
    const juce::File productFolder;
    const juce::String productName, version, websiteBase;
    juce::String openerProgram { "xdg-open" };
    std::vector<Opener> openers;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ManualOpener)
};

} // namespace brindlex

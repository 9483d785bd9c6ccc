#pragma once

#include <tarn/toasts/ToastManager.h>

#include <juce_gui_basics/juce_gui_basics.h>

namespace tarn
{

/** One toast on screen: its text on the toast area's black, errors marked in the theme's
    warning colour. It stays for a while (longer for longer texts and for errors), or until
    clicked, then reports that it is finished. [message thread] */
class ToastComponent : public juce::Component
    , private juce::Timer
{
public:
    ToastComponent (const Toast& toast, std::function<void (juce::uint32 id)> onFinished);
    ~ToastComponent() override;

    juce::uint32 getToastId() const noexcept { return toast.id; }
    const Toast& getToast() const noexcept { return toast; }

    /** How long a toast of this text stays, in milliseconds. */
    static int getDisplayTime (const Toast& toast);

    /** Scales every display time (tests make them short). */
    static void setDisplayTimeScale (float scale);

    /** The height this toast needs at a width. */
    int getHeightForWidth (int width) const;

    /** The message, with the number of times it came when it came more than once. */
    juce::String getShownText() const;

    void paint (juce::Graphics& g) override;
    void mouseUp (const juce::MouseEvent& e) override;

    /** The toast area's colour: black at alpha 0xCC. */
    static constexpr juce::uint32 areaColour = 0xcc000000;

private:
    void timerCallback() override;
    juce::Font getFont() const;

    const Toast toast;
    std::function<void (juce::uint32)> onFinished;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ToastComponent)
};

} // namespace tarn

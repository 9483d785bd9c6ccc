#pragma once

#include <juce_core/juce_core.h>
#include <juce_graphics/juce_graphics.h>

#include <functional>
#include <optional>

struct _XDisplay;

namespace cadenzium::test
{

/** A second X client that speaks the desktop's drag-and-drop protocol (XDND) with the
    editor's window, as a file manager or a host would:

    - as the target of a drag that starts in the editor, it reads the drag's offer (who
      owns the XdndSelection, and what converting it to "text/uri-list" gives);
    - as the source of a drag into the editor, it offers a list of files, moves over the
      window and drops.

    Every wait runs `pump` (the test's message loop, so the framework answers) and gives up
    after a bounded number of turns. [message thread] */
class XdndClient
{
public:
    explicit XdndClient (std::function<void()> pump);
    ~XdndClient();

    XdndClient (const XdndClient&) = delete;
    XdndClient& operator= (const XdndClient&) = delete;

    //==============================================================================
    /** The window that owns the XdndSelection now (0 for none). */
    unsigned long getDragSelectionOwner() const;

    /** Converts the XdndSelection to `target` ("text/uri-list") and returns the text its
        owner gives, or nothing when it refuses or does not answer. */
    std::optional<juce::String> convertDragSelection (const juce::String& target);

    //==============================================================================
    /** Offers the URIs as a drag over the window (XdndEnter). */
    void enter (unsigned long targetWindow, const juce::StringArray& uris);

    /** Moves the drag to a point of the screen (XdndPosition) and waits for the window's
        answer; true when it accepts the drop there. The window asks for the offered files
        next: serveUntil() answers. */
    bool moveTo (juce::Point<int> screenPosition);

    /** Drops (XdndDrop) and waits for XdndFinished; true when it came. */
    bool drop();

    /** Answers the window's requests (for the offered files, say) until the condition holds;
        false when it did not within the bound. */
    bool serveUntil (const std::function<bool()>& condition);

private:
    unsigned long atom (const char* name) const;
    void sendClientMessage (const char* type, long l1, long l2, long l3, long l4);
    bool sendPosition (juce::Point<int> screenPosition);
    void handleEvents();

    ::_XDisplay* display = nullptr;
    unsigned long window = 0, target = 0;
    std::function<void()> pump;
    juce::String offered;
    std::optional<bool> status;
    bool finished = false, filesServed = false;
    std::optional<juce::String> converted;
    bool conversionAnswered = false;
};

} // namespace cadenzium::test

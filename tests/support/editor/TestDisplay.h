#pragma once

#include <juce_graphics/juce_graphics.h>

#include <string>

struct _XDisplay; // Xlib's Display, kept out of the tests' namespace

namespace cadenzium::test
{

/** The test's own connection to the X server, kept open for the whole process.

    - Interns the window-manager atoms the framework looks up without creating them (under
      a bare Xvfb it would otherwise send atom 0 and die with BadAtom).
    - Reads back what the server shows (screenshots, pixel checks).
    - Sends real pointer and key events through the XTEST extension: the server delivers
      them to whatever window is under the pointer, with focus and hit testing as a user
      would meet them.

    Positions are in physical screen pixels. [message thread] */
class TestDisplay
{
public:
    /** The connection opened by the editor tests' main, or nullptr without a server. */
    static TestDisplay* get() noexcept;

    /** Opens the display named by DISPLAY; check isOpen(). */
    TestDisplay();
    ~TestDisplay();

    TestDisplay (const TestDisplay&) = delete;
    TestDisplay& operator= (const TestDisplay&) = delete;

    bool isOpen() const noexcept { return display != nullptr; }

    /** What the server shows in that area of the screen. */
    juce::Image grab (juce::Rectangle<int> screenArea) const;

    /** A native window's area on the screen. */
    juce::Rectangle<int> getWindowArea (unsigned long window) const;

    /** Gives a native window the keyboard focus, as a window manager would on a click. */
    void focusWindow (unsigned long window);

    /** Whether the server's keyboard focus is on this window or one inside it. */
    bool hasFocusWithin (unsigned long window) const;

    //==============================================================================
    // Input through the server. Each call returns once the server has it; the caller
    // pumps the message loop so the application sees it.

    void movePointer (juce::Point<int> screenPosition);

    /** button 1 left, 2 middle, 3 right. */
    void pressButton (int button, bool down);

    /** Key names as X spells them ("Return", "a", "BackSpace"), joined with "+" after
        "ctrl" or "shift": "ctrl+shift+z". */
    void pressKeyCombination (const std::string& combination);

    /** Waits until the server has handled everything sent so far. */
    void sync();

private:
    void sendKey (unsigned long keysym, bool down);

    ::_XDisplay* display = nullptr;
};

} // namespace cadenzium::test

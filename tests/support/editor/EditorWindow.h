#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>

namespace cadenzium::test
{

/** A processor's editor in a real top-level window on the test's X server, held the way a
    VST2 host's wrapper holds it (a window that follows the editor's scaled size), with
    ways to drive it and look at it.

    Two kinds of input:
    - in-process (click, drag, pressKey, typeText): events go into the window's peer as
      the framework's X code would hand them on, so hit testing, focus, double clicks and
      drags behave as for a user, with no timing involved;
    - through the X server (xClick, xDrag, xKey, xType): real pointer and key events,
      for the end-to-end cases where the server's focus and window stacking matter.

    Points are in the target component's own coordinates; screenshots and pixels in the
    screen's physical pixels. Needs the editor tests' main (tests/support/editor). [message thread] */
class EditorWindow
{
public:
    /** Creates the editor (createEditorIfNeeded), shows it at the screen's top left and
        waits until it is on screen. `hostScaleFactor` is what a host would announce. */
    explicit EditorWindow (juce::AudioProcessor& processor, float hostScaleFactor = 1.0f);

    /** Closes the window and deletes the editor, as a VST2 host's wrapper does on effEditClose;
        a component that is still modal then (the wrapper would keep the editor) fails the test. */
    ~EditorWindow();

    EditorWindow (const EditorWindow&) = delete;
    EditorWindow& operator= (const EditorWindow&) = delete;

    juce::AudioProcessorEditor& getEditor() const noexcept { return *editor; }

    template <typename EditorType>
    EditorType& getEditorAs() const { return dynamic_cast<EditorType&> (*editor); }

    /** What a VST2 host sends as its content scale factor. */
    void setHostScaleFactor (float scale);

    /** The window's size on the screen, in physical pixels. */
    juce::Rectangle<int> getScreenArea() const;

    //==============================================================================
    /** The first visible component with this component ID, in the editor or in any other
        window of the process (menus, pop-ups), depth first; nullptr when there is none. */
    static juce::Component* find (const juce::String& componentId);

    /** Like find(), but a missing or differently typed component fails the test (throws). */
    template <typename ComponentType = juce::Component>
    static ComponentType& get (const juce::String& componentId)
    {
        auto* typed = dynamic_cast<ComponentType*> (find (componentId));

        if (typed == nullptr)
        {
            ADD_FAILURE() << "no visible component of the expected type with ID \"" << componentId << "\"";
            throw std::runtime_error ("component not found: " + componentId.toStdString());
        }

        return *typed;
    }

    /** Picks the item with this text in the pop-up menu that is open (a combo box's list,
        a context menu), as a click on it would; false when no open menu has it. */
    static bool chooseMenuItem (const juce::String& itemText);

    static bool isMenuOpen();

    //==============================================================================
    /** Runs the message loop for a while (timers, async updates, X events). */
    static void pump (int milliseconds = 20);

    /** Runs the message loop until the condition holds; false when it did not within the time. */
    static bool pumpUntil (const std::function<bool()>& condition, int timeoutMilliseconds = 5000);

    /** Paints everything pending and waits until the server shows it. */
    void waitForPaint();

    //==============================================================================
    // In-process input. The point defaults to the target's centre.

    void click (juce::Component& target, std::optional<juce::Point<float>> point = {},
                juce::ModifierKeys modifiers = {});
    void rightClick (juce::Component& target, std::optional<juce::Point<float>> point = {});
    void doubleClick (juce::Component& target, std::optional<juce::Point<float>> point = {});

    void drag (juce::Component& target, juce::Point<float> from, juce::Point<float> to,
               int steps = 8, juce::ModifierKeys modifiers = {});

    /** A gesture in three parts, for one that is still going on when something else happens
        (the window closing mid-drag). Points in the target's coordinates. */
    void press (juce::Component& target, juce::Point<float> point, juce::ModifierKeys modifiers = {});
    void moveTo (juce::Component& target, juce::Point<float> point);
    void release();

    /** deltaY positive: up. */
    void wheel (juce::Component& target, float deltaY, std::optional<juce::Point<float>> point = {});

    /** A key press for the component that has the keyboard focus. Returns whether anyone used it. */
    bool pressKey (const juce::KeyPress& key);

    void typeText (const juce::String& text);

    //==============================================================================
    // Input through the X server (real events; needs XTEST).

    void xClick (juce::Component& target, std::optional<juce::Point<float>> point = {}, int button = 1);

    void xMove (juce::Component& target, std::optional<juce::Point<float>> point = {});

    /** "Return", "Escape", "ctrl+a", "shift+Tab": to the window, which gets the X focus. */
    void xKey (const std::string& combination);

    /** Whether the X server's keyboard focus is on the editor's window (host shortcuts
        then no longer reach the host). */
    bool windowHasKeyboardFocus() const;

    /** Where a point of a component is on the screen, in physical pixels. */
    juce::Point<int> toScreen (juce::Component& target, juce::Point<float> point) const;

    //==============================================================================
    /** What the server shows in the window, or at a point of a component. */
    juce::Image grab();
    juce::Colour pixelAt (juce::Component& target, juce::Point<float> point);

    /** Writes what the window shows as "<test suite>.<test name>.<name>.png" into the
        screenshot folder (see artefactsFolder()) and returns the file. */
    juce::File saveScreenshot (const juce::String& name);

    /** <build>/test-artefacts/screenshots */
    static juce::File artefactsFolder();

private:
    class HostWindow;

    /** Counts the button releases the framework hands to any component, so that a click
        through the server is waited for, not guessed with a fixed time. */
    struct ReleaseCounter : juce::MouseListener
    {
        void mouseUp (const juce::MouseEvent&) override { ++releases; }
        int releases = 0;
    };

    void sendMouse (juce::Component& top, juce::Point<float> position, juce::ModifierKeys modifiers);
    unsigned long nativeWindow() const;

    juce::AudioProcessor& processor;
    juce::AudioProcessorEditor* editor = nullptr;
    std::unique_ptr<HostWindow> window;
    ReleaseCounter releaseCounter;
    juce::int64 clock = 0;
    juce::ModifierKeys pressed;
    juce::Point<float> pressedAt; // in the window
};

} // namespace cadenzium::test

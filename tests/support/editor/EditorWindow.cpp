#include "EditorWindow.h"

#include "TestDisplay.h"

#include <typeinfo>

namespace cadenzium::test
{

//==============================================================================
/** Holds the editor as a VST2 host's wrapper does: a black top-level window that follows
    the editor's size after its scale. */
class EditorWindow::HostWindow : public juce::Component
{
public:
    HostWindow (juce::AudioProcessorEditor& editorToHold, float hostScale)
        : editor (editorToHold)
    {
        setOpaque (true);
        editor.setScaleFactor (hostScale);
        addAndMakeVisible (editor);
        fitEditor();
        addToDesktop (0);
        setTopLeftPosition (0, 0);
        setVisible (true);
    }

    /** Deletes the editor and whatever else was put into this window, as the framework's
        VST2 wrapper does with its own. */
    ~HostWindow() override
    {
        deleteAllChildren();
    }

    void paint (juce::Graphics& g) override { g.fillAll (juce::Colours::black); }

    void childBoundsChanged (juce::Component*) override { fitEditor(); }

    void setHostScale (float scale)
    {
        const auto bounds = editor.getLocalBounds();
        editor.setScaleFactor (scale);
        editor.setBounds (bounds);
        fitEditor();
    }

private:
    void fitEditor()
    {
        const auto area = getLocalArea (&editor, editor.getLocalBounds());
        setSize (area.getWidth(), area.getHeight());
    }

    juce::AudioProcessorEditor& editor;
};

//==============================================================================
namespace
{
    using Match = std::function<bool (juce::Component&)>;

    /** The first component of any window of the process that matches, depth first, newest
        window first (a menu or pop-up covers what was there before). */
    juce::Component* findOnDesktop (const Match& matches, bool visibleOnly = true)
    {
        std::function<juce::Component* (juce::Component&)> findIn = [&] (juce::Component& parent) -> juce::Component*
        {
            if (visibleOnly && ! parent.isVisible())
                return nullptr;

            if (matches (parent))
                return &parent;

            for (auto* child : parent.getChildren())
                if (auto* found = findIn (*child))
                    return found;

            return nullptr;
        };

        auto& desktop = juce::Desktop::getInstance();

        for (int i = desktop.getNumComponents(); --i >= 0;)
            if (auto* found = findIn (*desktop.getComponent (i)))
                return found;

        return nullptr;
    }

    bool hasRole (juce::Component& component, juce::AccessibilityRole role)
    {
        auto* handler = component.getAccessibilityHandler();
        return handler != nullptr && handler->getRole() == role;
    }

    juce::Component* waitForMenuItem (const juce::String& itemText)
    {
        juce::Component* item = nullptr;

        // A submenu opens a moment after its parent item is chosen.
        EditorWindow::pumpUntil ([&]
                                 {
                                     item = findOnDesktop ([&] (juce::Component& c)
                                                           { return hasRole (c, juce::AccessibilityRole::menuItem) && c.getAccessibilityHandler()->getTitle() == itemText; },
                                                           false);
                                     return item != nullptr;
                                 },
                                 2000);
        return item;
    }

    juce::String currentTestName()
    {
        if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info())
            return juce::String (info->test_suite_name()) + "." + info->name();

        return "test";
    }
} // namespace

EditorWindow::EditorWindow (juce::AudioProcessor& processorToShow, float hostScaleFactor)
    : processor (processorToShow),
      editor (processor.createEditorIfNeeded()),
      window (std::make_unique<HostWindow> (*editor, hostScaleFactor)),
      clock (juce::Time::currentTimeMillis())
{
    juce::Desktop::getInstance().addGlobalMouseListener (&releaseCounter);
    pumpUntil ([this]
               { return ! getScreenArea().isEmpty(); });
    waitForPaint();
}

EditorWindow::~EditorWindow()
{
    juce::Desktop::getInstance().removeGlobalMouseListener (&releaseCounter);

    // What a VST2 host's wrapper does on effEditClose: menus go first, and anything still
    // modal would make it keep the editor past the host's window.
    juce::PopupMenu::dismissAllActiveMenus();

    if (auto* modal = juce::Component::getCurrentlyModalComponent())
        ADD_FAILURE() << "a modal component (" << typeid (*modal).name() << ") is open as the host closes the window: "
                      << "a VST2 host's wrapper would keep the editor past the host's window";

    window.reset();
    editor = nullptr;
    pump (10);
}

void EditorWindow::setHostScaleFactor (float scale)
{
    window->setHostScale (scale);
    pump (20);
}

unsigned long EditorWindow::nativeWindow() const
{
    auto* windowPeer = window->getPeer();
    return windowPeer != nullptr ? (unsigned long) (juce::pointer_sized_int) windowPeer->getNativeHandle() : 0;
}

juce::Rectangle<int> EditorWindow::getScreenArea() const
{
    return TestDisplay::get()->getWindowArea (nativeWindow());
}

//==============================================================================
juce::Component* EditorWindow::find (const juce::String& componentId)
{
    return findOnDesktop ([&] (juce::Component& c) { return c.getComponentID() == componentId; });
}

bool EditorWindow::isMenuOpen()
{
    // Menus are windows of their own, or children of the editor they belong to.
    return findOnDesktop ([] (juce::Component& c) { return hasRole (c, juce::AccessibilityRole::popupMenu); }) != nullptr;
}

bool EditorWindow::chooseMenuItem (const juce::String& itemText)
{
    auto* item = waitForMenuItem (itemText);

    if (item == nullptr)
        return false;

    const auto pressed = item->getAccessibilityHandler()->getActions().invoke (juce::AccessibilityActionType::press);
    pump (30);
    return pressed;
}

void EditorWindow::pump (int milliseconds)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
}

bool EditorWindow::pumpUntil (const std::function<bool()>& condition, int timeoutMilliseconds)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMilliseconds;

    while (! condition())
    {
        if (juce::Time::getMillisecondCounter() > end)
            return false;

        pump (10);
    }

    return true;
}

void EditorWindow::waitForPaint()
{
    pump (10);

    for (int i = juce::Desktop::getInstance().getNumComponents(); --i >= 0;)
        if (auto* windowPeer = juce::Desktop::getInstance().getComponent (i)->getPeer())
            windowPeer->performAnyPendingRepaintsNow();

    TestDisplay::get()->sync();
    pump (30);
}

//==============================================================================
namespace
{
    juce::Point<float> pointIn (juce::Component& target, std::optional<juce::Point<float>> point)
    {
        return point.value_or (target.getLocalBounds().toFloat().getCentre());
    }
} // namespace

void EditorWindow::sendMouse (juce::Component& top, juce::Point<float> position, juce::ModifierKeys modifiers)
{
    juce::ModifierKeys::currentModifiers = modifiers;
    clock += 20;
    top.getPeer()->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, position, modifiers,
                                     juce::MouseInputSource::defaultPressure, juce::MouseInputSource::defaultOrientation, clock);
}

void EditorWindow::click (juce::Component& target, std::optional<juce::Point<float>> point, juce::ModifierKeys modifiers)
{
    drag (target, pointIn (target, point), pointIn (target, point), 0, modifiers);
}

void EditorWindow::rightClick (juce::Component& target, std::optional<juce::Point<float>> point)
{
    click (target, point, juce::ModifierKeys (juce::ModifierKeys::rightButtonModifier));
}

void EditorWindow::doubleClick (juce::Component& target, std::optional<juce::Point<float>> point)
{
    click (target, point);
    clock -= 1000; // the second click follows at once
    click (target, point);
}

void EditorWindow::drag (juce::Component& target, juce::Point<float> from, juce::Point<float> to,
                         int steps, juce::ModifierKeys modifiers)
{
    // Far enough apart in time from the last gesture that two are never taken as a double click.
    clock += 1000;
    const auto keys = modifiers.withoutMouseButtons();
    const auto down = modifiers.isAnyMouseButtonDown() ? modifiers : modifiers.withFlags (juce::ModifierKeys::leftButtonModifier);

    // Where the gesture starts and ends in the window, fixed before it moves anything.
    auto& top = *target.getTopLevelComponent();
    const auto start = top.getLocalPoint (&target, from), end = top.getLocalPoint (&target, to);
    sendMouse (top, start, keys);
    sendMouse (top, start, down);

    for (int i = 1; i <= steps; ++i)
        sendMouse (top, start + (end - start) * ((float) i / (float) steps), down);

    sendMouse (top, end, keys);
    pump (10);
}

void EditorWindow::press (juce::Component& target, juce::Point<float> point, juce::ModifierKeys modifiers)
{
    clock += 1000;
    pressed = modifiers.isAnyMouseButtonDown() ? modifiers : modifiers.withFlags (juce::ModifierKeys::leftButtonModifier);
    auto& top = *target.getTopLevelComponent();
    pressedAt = top.getLocalPoint (&target, point);
    sendMouse (top, pressedAt, modifiers.withoutMouseButtons());
    sendMouse (top, pressedAt, pressed);
    pump (10);
}

void EditorWindow::moveTo (juce::Component& target, juce::Point<float> point)
{
    auto& top = *target.getTopLevelComponent();
    pressedAt = top.getLocalPoint (&target, point);
    sendMouse (top, pressedAt, pressed);
    pump (10);
}

void EditorWindow::release()
{
    if (window != nullptr && ! pressed.isAnyMouseButtonDown())
        return;

    sendMouse (*window, pressedAt, pressed.withoutMouseButtons());
    pressed = {};
    pump (10);
}

void EditorWindow::wheel (juce::Component& target, float deltaY, std::optional<juce::Point<float>> point)
{
    auto& top = *target.getTopLevelComponent();
    const auto position = top.getLocalPoint (&target, pointIn (target, point));
    sendMouse (top, position, {});
    clock += 20;
    top.getPeer()->handleMouseWheel (juce::MouseInputSource::InputSourceType::mouse, position, clock, { 0.0f, deltaY, false, false, false });
    pump (10);
}

bool EditorWindow::pressKey (const juce::KeyPress& key)
{
    auto* focused = juce::Component::getCurrentlyFocusedComponent();
    auto* keyPeer = focused != nullptr ? focused->getPeer() : window->getPeer();

    juce::ModifierKeys::currentModifiers = key.getModifiers();
    const auto used = keyPeer->handleKeyPress (key);
    juce::ModifierKeys::currentModifiers = {};
    pump (10);
    return used;
}

void EditorWindow::typeText (const juce::String& text)
{
    for (auto character : text)
    {
        const auto shifted = juce::CharacterFunctions::isUpperCase (character);
        pressKey (juce::KeyPress ((int) juce::CharacterFunctions::toLowerCase (character),
                                  shifted ? juce::ModifierKeys::shiftModifier : 0, character));
    }
}

//==============================================================================
juce::Point<int> EditorWindow::toScreen (juce::Component& target, juce::Point<float> point) const
{
    auto* top = target.getTopLevelComponent();
    auto* topPeer = top->getPeer();
    const auto origin = TestDisplay::get()->getWindowArea ((unsigned long) (juce::pointer_sized_int) topPeer->getNativeHandle()).getPosition();
    return origin + (top->getLocalPoint (&target, point) * (float) topPeer->getPlatformScaleFactor()).roundToInt();
}

bool EditorWindow::windowHasKeyboardFocus() const
{
    return TestDisplay::get()->hasFocusWithin (nativeWindow());
}

void EditorWindow::xClick (juce::Component& target, std::optional<juce::Point<float>> point, int button)
{
    auto& display = *TestDisplay::get();
    display.movePointer (toScreen (target, pointIn (target, point)));
    pump (20);
    const auto releasesBefore = releaseCounter.releases;
    display.pressButton (button, true);
    pump (20);
    display.pressButton (button, false);

    // On a loaded machine the release may take longer than any fixed wait. A click that
    // no component receives (outside the windows, blocked by a modal) waits a second.
    pumpUntil ([&] { return releaseCounter.releases > releasesBefore; }, 1000);
    pump (40);
}

void EditorWindow::xMove (juce::Component& target, std::optional<juce::Point<float>> point)
{
    const auto end = toScreen (target, pointIn (target, point));
    auto& display = *TestDisplay::get();

    // In a few steps, as a hand would: the framework sees a move into the component.
    for (int i = 3; i >= 0; --i)
    {
        display.movePointer (end + juce::Point<int> (i * 3, i * 2));
        pump (15);
    }
}

void EditorWindow::xKey (const std::string& combination)
{
    TestDisplay::get()->focusWindow (nativeWindow());
    pump (20);
    TestDisplay::get()->pressKeyCombination (combination);
    pump (40);
}

//==============================================================================
juce::Image EditorWindow::grab()
{
    waitForPaint();
    return TestDisplay::get()->grab (getScreenArea());
}

juce::Colour EditorWindow::pixelAt (juce::Component& target, juce::Point<float> point)
{
    waitForPaint();
    const auto image = TestDisplay::get()->grab ({ toScreen (target, point), toScreen (target, point) + juce::Point<int> (1, 1) });
    return image.isValid() ? image.getPixelAt (0, 0) : juce::Colour();
}

juce::File EditorWindow::artefactsFolder()
{
    return juce::File (CADENZIUM_TEST_ARTEFACTS_DIR).getChildFile ("screenshots");
}

juce::File EditorWindow::saveScreenshot (const juce::String& name)
{
    const auto image = grab();
    const auto file = artefactsFolder().getChildFile (juce::File::createLegalFileName (currentTestName() + "." + name + ".png"));
    file.getParentDirectory().createDirectory();
    file.deleteFile();

    juce::FileOutputStream stream (file);
    juce::PNGImageFormat png;

    if (! image.isValid() || ! stream.openedOk() || ! png.writeImageToStream (image, stream))
        ADD_FAILURE() << "could not write the screenshot " << file.getFullPathName();

    return file;
}

} // namespace cadenzium::test

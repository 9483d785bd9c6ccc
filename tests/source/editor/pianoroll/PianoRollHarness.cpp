#include "PianoRollHarness.h"

#include <tarn/gui/pianoroll/PianoRollMenus.h>

namespace cadenzium::test
{

PianoRollHarness::PianoRollHarness (int width, int height)
{
    tarn::PianoRollMenus::setPresenter ([this] (const juce::PopupMenu& menu, std::function<void (int)> chosen)
                                        {
                                            openMenu = menu;
                                            menuChosen = std::move (chosen);
                                        });
    pianoRoll.setSize (width, height);
    connection = std::make_unique<PianoRollConnection> (processor, pianoRoll);
    connection->setEditedPhrase (0);
}

PianoRollHarness::~PianoRollHarness()
{
    tarn::PianoRollMenus::setPresenter ({});
    connection.reset();
    pump();
}

void PianoRollHarness::startWith (const tarn::Sequence& phrase)
{
    auto normalised = phrase;
    normalised.normalise();
    EditCommands (processor).editPhrase (0, normalised);
    processor.getPhraseManager().clearUndoHistory();
    connection->refresh();
}

tarn::SequenceNote PianoRollHarness::note (int row, int start, int length, int velocity)
{
    tarn::SequenceNote n;
    n.number = row;
    n.timestamp = start;
    n.length = length;
    n.velocityMin = n.velocityMax = velocity;
    return n;
}

juce::Point<float> PianoRollHarness::at (double tick, int row) const
{
    const auto& view = const_cast<tarn::PianoRoll&> (pianoRoll).getView();
    const auto& rows = view.getRowAxis();
    return { (float) view.getTimeAxis().xOf (tick), (float) (rows.yOf (row) + rows.rowHeight * 0.5) };
}

juce::MouseEvent PianoRollHarness::event (juce::Component& target, juce::Point<float> position, juce::ModifierKeys mods, int clicks, bool dragged) const
{
    const auto now = juce::Time (clock);
    return { juce::Desktop::getInstance().getMainMouseSource(), position, mods, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, &target, &target, now, downAt, downTime, clicks, dragged };
}

void PianoRollHarness::press (juce::Component& target, juce::Point<float> position, juce::ModifierKeys mods, int clicks)
{
    clock += 10;
    downAt = position;
    downTime = juce::Time (clock);
    const auto button = mods.isPopupMenu() ? mods : mods.withFlags (juce::ModifierKeys::leftButtonModifier);

    if (target.getWantsKeyboardFocus())
        target.grabKeyboardFocus();

    if (clicks == 2)
        target.mouseDoubleClick (event (target, position, button, clicks, false));
    else
        target.mouseDown (event (target, position, button, clicks, false));
}

void PianoRollHarness::moveTo (juce::Component& target, juce::Point<float> position, juce::ModifierKeys mods)
{
    clock += 10;
    target.mouseDrag (event (target, position, mods.withFlags (juce::ModifierKeys::leftButtonModifier), 1, true));
}

void PianoRollHarness::release (juce::Component& target, juce::Point<float> position, juce::ModifierKeys mods)
{
    clock += 10;
    target.mouseUp (event (target, position, mods.withoutMouseButtons(), 1, position != downAt));
}

void PianoRollHarness::click (juce::Component& target, juce::Point<float> position, juce::ModifierKeys mods)
{
    press (target, position, mods);
    release (target, position, mods);
}

void PianoRollHarness::doubleClick (juce::Component& target, juce::Point<float> position)
{
    // As the framework sends them: down, up, down, double-click, up.
    click (target, position);
    press (target, position);
    press (target, position, {}, 2);
    release (target, position);
}

void PianoRollHarness::drag (juce::Component& target, juce::Point<float> from, juce::Point<float> to, juce::ModifierKeys mods, int steps)
{
    press (target, from, mods);

    for (int i = 1; i <= steps; ++i)
        moveTo (target, from + (to - from) * ((float) i / (float) steps), mods);

    release (target, to, mods);
}

bool PianoRollHarness::chooseMenuItem (const juce::String& text)
{
    if (! openMenu.has_value())
        return false;

    for (juce::PopupMenu::MenuItemIterator it (*openMenu, true); it.next();)
    {
        const auto& item = it.getItem();

        if (item.text == text && item.isEnabled && item.subMenu == nullptr && item.itemID != 0)
        {
            const auto id = item.itemID;
            const auto chosen = std::move (menuChosen);
            openMenu.reset();
            chosen (id);
            return true;
        }
    }

    return false;
}

bool PianoRollHarness::key (const juce::KeyPress& keyPress)
{
    return grid().keyPressed (keyPress);
}

void PianoRollHarness::pump (int milliseconds)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
}

juce::File PianoRollHarness::screenshot (const juce::String& name)
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    // <build>/tests/<executable> → <build>/test-artefacts/screenshots
    const auto build = juce::File::getSpecialLocation (juce::File::currentExecutableFile).getParentDirectory().getParentDirectory();
    const auto folder = build.getChildFile ("test-artefacts/screenshots");
    folder.createDirectory();
    const auto file = folder.getChildFile (juce::String (info->test_suite_name()) + "." + info->name() + "." + name + ".png");

    const auto image = pianoRoll.createComponentSnapshot (pianoRoll.getLocalBounds());
    file.deleteFile();
    juce::FileOutputStream stream (file);
    juce::PNGImageFormat().writeImageToStream (image, stream);
    return file;
}

} // namespace cadenzium::test

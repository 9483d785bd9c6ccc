#include "PianoRollHarness.h"

#include <tarn/gui/NoteGridMenuCommands.h>

using cadenzium::test::EditorWindow;
using cadenzium::test::PianoRollHarness;
using cadenzium::test::makeNote;
using cadenzium::test::makeSequence;
using juce::ModifierKeys;

namespace
{
struct MenuItem
{
    juce::String text, shortcut;
    int id = 0;
    bool enabled = false, ticked = false;
};

/** The items of a menu, submenus after their parent item, by text. */
std::map<juce::String, MenuItem> itemsOf (const juce::PopupMenu& menu)
{
    std::map<juce::String, MenuItem> items;

    for (juce::PopupMenu::MenuItemIterator it (menu, true); it.next();)
    {
        const auto& item = it.getItem();
        items[item.text] = { item.text, item.shortcutKeyDescription, item.itemID, item.isEnabled, item.isTicked };
    }

    return items;
}
} // namespace

TEST (PianoRollCommands, theGridMenuOffersItsCommandsWithTheirShortcutsEnablingAndTicks)
{
    PianoRollHarness h;
    auto items = itemsOf (h.grid().createGridMenu());

    EXPECT_FALSE (items["Reset loop region"].enabled) << "no row chosen yet";
    EXPECT_EQ (items["Select All"].shortcut, "A");
    EXPECT_EQ (items["Paste"].shortcut, "V");
    EXPECT_FALSE (items["Paste"].enabled) << "the clipboard is empty";

    for (const auto* text : { "Invert", "Reverse", "Half Speed", "Double Speed", "Legato", "Snap to Grid", "Dotted", "Triplets" })
        EXPECT_EQ (items.count (text), 1u) << text;

    // The grid sizes: the current one ticked.
    EXPECT_TRUE (items["1/16"].ticked);
    EXPECT_FALSE (items["1/8t"].ticked);

    // Choosing a grid size (from the tool bar's grid button) changes the grid and is kept
    // with the song.
    h.window->click (h.window->get<juce::Button> ("grid_size"), juce::Point<float> (10.0f, 10.0f));
    ASSERT_TRUE (EditorWindow::chooseMenuItem ("Triplets"));
    ASSERT_TRUE (EditorWindow::chooseMenuItem ("1/8t"));
    EXPECT_EQ (h.grid().getGrid().identifier, 123);
    EXPECT_EQ ((int) h.processor.getPianoRollSettings()["grid_size"], 123);
    EXPECT_TRUE (itemsOf (h.grid().createGridMenu())["1/8t"].ticked);
}

TEST (PianoRollCommands, theNoteMenuAndItsShortcutKeysWorkOnTheSelection)
{
    PianoRollHarness h;
    h.startWith (makeSequence ({ makeNote (0, 0, 240), makeNote (4, 480, 240), makeNote (7, 960, 240) }));

    h.window->click (h.grid(), h.at (100.0, 0));
    auto items = itemsOf (h.grid().createNoteMenu (0));
    EXPECT_EQ (items["Copy"].shortcut, "C");
    EXPECT_EQ (items["Delete Note(s)"].shortcut, "Del");
    EXPECT_EQ (items["Delete Note(s)"].id, 301);
    EXPECT_FALSE (items["Invert Selection"].enabled) << "one note selected";
    EXPECT_TRUE (items["Duplicate Selection"].enabled);
    EXPECT_FALSE (items["Flatten Repeats"].enabled);
    EXPECT_TRUE (items["Off"].ticked);
    EXPECT_EQ (items["16"].id, 216);

    // "A" selects all, then "I" inverts the selection's pitches: 0, 4, 7 become 7, 3, 0.
    EXPECT_TRUE (h.window->pressKey (juce::KeyPress ('a')));
    EXPECT_EQ (h.pianoRoll().getDocument().getSelection().size(), 3);
    EXPECT_TRUE (itemsOf (h.grid().createNoteMenu (0))["Invert Selection"].enabled);
    EXPECT_TRUE (h.window->pressKey (juce::KeyPress ('i')));
    EXPECT_EQ (h.phrase().notes[0].number, 7);
    EXPECT_EQ (h.phrase().notes[1].number, 3);
    EXPECT_EQ (h.phrase().notes[2].number, 0);
    EXPECT_EQ (h.numUndoSteps(), 1);

    // The same command from the menu: "Reverse Selection".
    h.grid().performNoteCommand (tarn::NoteMenuCommand::reverseSelection, 0);
    EXPECT_EQ (h.phrase().notes[0].number, 0);
    EXPECT_EQ (h.numUndoSteps(), 2);

    // A repeat from the "Equal" submenu, then "Flatten Repeats" on it.
    h.window->click (h.grid(), h.at (100.0, 0));
    h.grid().performNoteCommand (203, 0);
    EXPECT_EQ (std::tuple (h.phrase().notes[0].repeatStyle, h.phrase().notes[0].repeatCount), std::tuple (2, 3));
    EXPECT_TRUE (itemsOf (h.grid().createNoteMenu (0))["3"].ticked);
    h.grid().performNoteCommand (tarn::NoteMenuCommand::flattenRepeats, 0);
    EXPECT_EQ (h.phrase().notes.size(), 5u);

    // "C" copies, a click sets where "V" pastes, "Del" deletes what is selected.
    h.window->click (h.grid(), h.at (100.0, 0));
    EXPECT_TRUE (h.window->pressKey (juce::KeyPress ('c')));
    h.window->click (h.grid(), h.at (2900.0, 5));
    EXPECT_TRUE (h.window->pressKey (juce::KeyPress ('v')));
    EXPECT_EQ (h.phrase().notes.size(), 6u);
    EXPECT_EQ (h.phrase().notes.back().timestamp, 2880);
    EXPECT_TRUE (h.window->pressKey (juce::KeyPress (juce::KeyPress::deleteKey)));
    EXPECT_EQ (h.phrase().notes.size(), 5u);
    EXPECT_EQ (h.undoTooltip(), "Undo: Edit phrase");

    // Keys the grid does not use go on to the host.
    EXPECT_FALSE (h.window->pressKey (juce::KeyPress (juce::KeyPress::spaceKey)));
    EXPECT_FALSE (h.window->pressKey (juce::KeyPress ('s', ModifierKeys::commandModifier, 0)));
}

TEST (PianoRollCommands, theWholePhraseCommandsGoThroughThePianoRoll)
{
    PianoRollHarness h;
    h.startWith (makeSequence ({ makeNote (0, 10, 240), makeNote (1, 1210, 240) }));

    h.grid().performGridCommand (tarn::GridMenuCommand::snapToGrid);
    EXPECT_EQ (h.phrase().notes[0].timestamp, 0);
    h.window->click (h.grid(), h.at (3000.0, 6)); // the grid takes the keyboard
    EXPECT_EQ (h.phrase().notes[1].timestamp, 1200);

    EXPECT_TRUE (h.window->pressKey (juce::KeyPress ('q'))) << "Q snaps too; already snapped, nothing more";
    EXPECT_EQ (h.numUndoSteps(), 1);

    h.grid().performGridCommand (tarn::GridMenuCommand::halfSpeed);
    EXPECT_EQ (h.phrase().getLength(), 7680);
    EXPECT_EQ (h.pianoRoll().getToolBar().getPhraseControls().getLengthBox().getShownLength(), (tarn::BarsBeatsSixteenths { 2, 0, 0 }));

    h.grid().performGridCommand (tarn::GridMenuCommand::legato);
    EXPECT_EQ (h.phrase().notes[0].length, 2400);
    EXPECT_EQ (h.numUndoSteps(), 3);

    // Right-click on an empty row picks it for "Reset loop region".
    auto withLoop = h.phrase();
    withLoop.loops[3] = { 0, 960 };
    h.startWith (withLoop);
    ASSERT_TRUE (h.pianoRoll().getDocument().getCommittedPhrase().loops[3].isSet());
    h.window->rightClick (h.grid(), h.at (3000.0, 3));
    ASSERT_TRUE (EditorWindow::isMenuOpen());
    EXPECT_EQ (h.grid().getLoopRow(), 3);
    EXPECT_EQ (h.grid().getPastePosition(), 3120); // snapped
    h.window->saveScreenshot ("grid menu");
    EXPECT_TRUE (EditorWindow::chooseMenuItem ("Loop Options"));
    EXPECT_TRUE (EditorWindow::chooseMenuItem ("Reset loop region"));
    EXPECT_FALSE (h.phrase().loops[3].isSet());
    EXPECT_EQ (h.undoTooltip(), "Undo: Edit phrase");

    // A right click on a note opens the note menu for it.
    h.window->rightClick (h.grid(), h.at (100.0, 0));
    ASSERT_TRUE (EditorWindow::isMenuOpen());
    h.window->saveScreenshot ("note menu");
    EXPECT_TRUE (EditorWindow::chooseMenuItem ("Delete Note(s)"));
    EXPECT_EQ (h.phrase().notes.size(), 1u);
}

TEST (PianoRollCommands, theValueEditorSetsVelocitiesAndKeepsItsRangeModeWithTheSong)
{
    PianoRollHarness h;
    h.startWith (makeSequence ({ makeNote (0, 0, 240, 100), makeNote (1, 960, 240, 100), makeNote (2, 1920, 240, 100) }));
    auto& values = h.pianoRoll().getVelocityEditor();
    const auto barOf = [&] (int note, float y)
    { return juce::Point<float> (values.xOfNote (h.phrase().notes[(size_t) note]), y); };

    // Drag the second note's bar to the bottom: velocity 1.
    h.drag (values, barOf (1, values.yOfValue (100)), barOf (1, (float) values.getHeight() + 20.0f));
    EXPECT_EQ (std::pair (h.phrase().notes[1].velocityMin, h.phrase().notes[1].velocityMax), std::pair (1, 1));
    EXPECT_EQ (h.phrase().notes[0].velocityMax, 100);
    EXPECT_EQ (h.numUndoSteps(), 1);

    // Shift-drag draws a line across all three.
    h.drag (values, barOf (0, values.yOfValue (127)), barOf (2, values.yOfValue (20)), ModifierKeys::shiftModifier);
    EXPECT_EQ (h.phrase().notes[0].velocityMax, 127);
    EXPECT_EQ (h.phrase().notes[2].velocityMax, 20);
    EXPECT_NEAR (h.phrase().notes[1].velocityMax, 73, 2);
    EXPECT_EQ (h.numUndoSteps(), 2);
    h.window->saveScreenshot ("velocities");

    // Range mode, from the value editor's menu: stored with the song, and a drag above the
    // middle of a bar moves the maximum.
    h.window->rightClick (values, juce::Point<float> (600.0f, 20.0f));
    ASSERT_TRUE (EditorWindow::chooseMenuItem ("Range mode"));
    EXPECT_TRUE ((bool) h.processor.getPianoRollSettings()["velocity_range"]);
    EXPECT_EQ (h.numUndoSteps(), 2) << "switching it on changes no note";
    h.drag (values, barOf (2, values.yOfValue (20)), barOf (2, values.yOfValue (90)));
    EXPECT_EQ (std::pair (h.phrase().notes[2].velocityMin, h.phrase().notes[2].velocityMax), std::pair (20, 90));

    // Switching it off collapses every range to its minimum, as one step.
    values.performMenuCommand (tarn::ValueEditorCommand::rangeMode);
    EXPECT_FALSE ((bool) h.processor.getPianoRollSettings()["velocity_range"]);
    EXPECT_EQ (h.phrase().notes[2].velocityMax, 20);
    EXPECT_EQ (h.numUndoSteps(), 4);

    // A new piano roll on the same song starts in the stored modes.
    h.processor.setPianoRollSetting ("octave_range", true);
    EditorWindow::pump();
    tarn::PianoRoll other;
    PianoRollConnection connection (h.processor, other);
    EXPECT_TRUE (other.getVelocityEditor().isRangeMode (tarn::ValueEditorMode::octave));
    EXPECT_FALSE (other.getVelocityEditor().isRangeMode (tarn::ValueEditorMode::velocity));
}

TEST (PianoRollCommands, aCommandKeyDragOnACurveBendsTheSegmentEndingAtTheNextPoint)
{
    PianoRollHarness h;
    EditCommands (h.processor).newController ({ tarn::ControllerLane::controlChange, 1, 1, {} });
    auto start = h.phrase();
    start.lanes[0].points = { { 0, 0, 0.5f, 0 }, { 1920, 127, 0.5f, 0 } };
    h.startWith (start);

    h.window->click (*h.pianoRoll().getLaneBar().getLaneButton (0), juce::Point<float> (10.0f, 10.0f));
    auto& curve = h.pianoRoll().getCurveEditor();
    ASSERT_TRUE (curve.isVisible());

    // Mainly vertical, upwards: a quadratic bend of the rising segment, curve below 0.5.
    const auto onLine = juce::Point<float> ((float) h.pianoRoll().getView().getTimeAxis().xOf (960.0), curve.getHeight() * 0.5f);
    h.drag (curve, onLine, onLine + juce::Point<float> (1.0f, -60.0f), ModifierKeys::altModifier);

    const auto& point = h.phrase().lanes[0].points[1];
    EXPECT_EQ (point.shape, tarn::ControllerPoint::quadratic);
    EXPECT_NEAR (point.curve, 0.3f, 0.01f);
    EXPECT_EQ (h.numUndoSteps(), 1);
    h.window->saveScreenshot ("bent");

    // A click without the key makes a point; "Delete Node" takes it away again.
    h.window->click (curve, juce::Point<float> ((float) h.pianoRoll().getView().getTimeAxis().xOf (2880.0), 10.0f));
    ASSERT_EQ (h.phrase().lanes[0].points.size(), 3u);
    EXPECT_EQ (h.phrase().lanes[0].points[2].timestamp, 2880);
    h.window->rightClick (curve, curve.getPointPosition (h.phrase().lanes[0].points[2]));
    ASSERT_TRUE (EditorWindow::chooseMenuItem ("Delete Node"));
    EXPECT_EQ (h.phrase().lanes[0].points.size(), 2u);
    curve.performPointCommand (tarn::CurveEditor::deleteAll, -1);
    EXPECT_TRUE (h.phrase().lanes[0].points.empty());
    EXPECT_EQ (h.numUndoSteps(), 4);
}

TEST (PianoRollCommands, theLaneMenuRunsTheControllerCommands)
{
    PianoRollHarness h;
    h.pianoRoll().getLaneBar().onAddLane();
    ASSERT_EQ (h.phrase().lanes.size(), 1u);
    EXPECT_EQ (h.phrase().lanes[0].number, 1);
    EXPECT_EQ (h.undoTooltip(), "Undo: Create new controller");

    auto items = itemsOf (h.pianoRoll().createLaneMenu (0));
    EXPECT_TRUE (items.count ("Set Controller") && items.count ("0-31") && items.count ("96-127"));
    EXPECT_TRUE (items["CC 1 - Modulation Wheel"].ticked);
    EXPECT_TRUE (items["Send MIDI Learn"].enabled);
    EXPECT_FALSE (items["Copy To"].enabled) << "no other lane";

    // Through the lane button's own menu. (The grid has the keys first: the framework closes a
    // menu at once when no component of the process has the keyboard focus.)
    h.window->click (h.grid(), h.at (3000.0, 6));
    h.window->rightClick (*h.pianoRoll().getLaneBar().getLaneButton (0), juce::Point<float> (10.0f, 10.0f));
    ASSERT_TRUE (EditorWindow::chooseMenuItem ("Set Controller"));
    h.window->saveScreenshot ("lane menu");
    ASSERT_TRUE (EditorWindow::chooseMenuItem ("Pitch Bend"));
    EXPECT_EQ (h.phrase().lanes[0].type, tarn::ControllerLane::pitchBend);
    EXPECT_EQ (h.undoTooltip(), "Undo: Change controller type");
    EXPECT_FALSE (itemsOf (h.pianoRoll().createLaneMenu (0))["Send MIDI Learn"].enabled) << "pitch bend has no controller number";

    h.pianoRoll().performLaneMenuCommand (0, itemsOf (h.pianoRoll().createLaneMenu (0))["3"].id); // channel 3
    EXPECT_EQ (h.phrase().lanes[0].channel, 3);

    // "Rename" edits the button's label in place, starting from its text.
    h.pianoRoll().performLaneMenuCommand (0, items["Rename"].id);
    auto* button = h.pianoRoll().getLaneBar().getLaneButton (0);
    ASSERT_TRUE (button != nullptr && button->isRenaming());
    auto* label = dynamic_cast<juce::TextEditor*> (button->getChildComponent (0));
    ASSERT_NE (label, nullptr);
    EXPECT_EQ (label->getText(), "Pitch Bend (Ch: 3)");
    label->setText ("Wobble");
    label->onReturnKey();
    EditorWindow::pump();
    EXPECT_EQ (h.phrase().lanes[0].name, "Wobble");
    EXPECT_EQ (h.pianoRoll().getLaneBar().getLaneButton (0)->getButtonText(), "Wobble (Ch: 3)");

    h.pianoRoll().performLaneMenuCommand (0, items["Delete"].id);
    EXPECT_TRUE (h.phrase().lanes.empty());
    EXPECT_EQ (h.undoTooltip(), "Undo: Delete controller");
}

TEST (PianoRollCommands, theLengthTimeSignatureAndRepeatBoxesEditThePhrase)
{
    PianoRollHarness h;
    auto& controls = h.pianoRoll().getToolBar().getPhraseControls();

    controls.getLengthBox().showEditor();
    auto* text = dynamic_cast<juce::TextEditor*> (controls.getLengthBox().getChildComponent (0));
    ASSERT_NE (text, nullptr);
    text->setText ("2.1.2");
    text->onReturnKey();
    EXPECT_EQ (h.phrase().getLength(), 7680 + 960 + 480);
    EXPECT_EQ (h.undoTooltip(), "Undo: Edit phrase");
    EditorWindow::pump();

    // Dragging the bars up two steps previews every step and commits once.
    auto& box = controls.getLengthBox();
    const auto steps = h.numUndoSteps();
    h.drag (box, { 10.0f, 10.0f }, { 10.0f, -3.0f });
    EXPECT_EQ (box.getShownLength(), (tarn::BarsBeatsSixteenths { 4, 1, 2 }));
    EXPECT_EQ (h.phrase().getLength(), 4 * 3840 + 960 + 480);
    EXPECT_EQ (h.numUndoSteps(), steps + 1);

    controls.getTimeSignatureBox().setText ("7/8");
    EditorWindow::pump();
    EXPECT_EQ (std::pair (h.phrase().timeSignatureNumerator, h.phrase().timeSignatureDenominator), std::pair (7, 8));
    controls.getTimeSignatureBox().setText ("7/9");
    EditorWindow::pump();
    EXPECT_EQ (h.phrase().timeSignatureDenominator, 8) << "not a time signature";

    // "Repeat:": "Never" is one pass; choosing what is there already changes nothing.
    controls.getRepeatBox().setSelectedId (3);
    EditorWindow::pump();
    EXPECT_EQ (h.phrase().loopCount, 1);
    const auto stepsBefore = h.numUndoSteps();
    controls.getRepeatBox().setSelectedId (3);
    EditorWindow::pump();
    controls.getRepeatBox().setSelectedId (7);
    EditorWindow::pump();
    EXPECT_EQ (h.phrase().loopCount, 5);
    EXPECT_EQ (h.numUndoSteps(), stepsBefore + 1);
    h.window->saveScreenshot ("controls");
}

#include "PianoRollHarness.h"

#include <tarn/gui/NoteGridMenuCommands.h>

using namespace cadenzium::test;
using juce::ModifierKeys;

namespace
{
/** The item with this text in a menu or its submenus. */
juce::PopupMenu::Item itemOf (const juce::PopupMenu& menu, const juce::String& text)
{
    for (juce::PopupMenu::MenuItemIterator it (menu, true); it.next();)
        if (it.getItem().text == text)
            return it.getItem();

    ADD_FAILURE() << "no menu item \"" << text << "\"";
    return {};
}
} // namespace

TEST (PianoRollCommands, eachMenuCommandReachesThePhraseAsOneUndoStep)
{
    // What each command does to the notes is the note grid's own business; here the menu
    // has to reach it, through the window, as one step of the song's history.
    struct Case
    {
        std::vector<const char*> path;
        bool onNote;
    };

    const Case cases[] = {
        { { "Invert" }, false }, { { "Reverse" }, false }, { { "Half Speed" }, false }, { { "Double Speed" }, false },
        { { "Legato" }, false }, { { "Snap to Grid" }, false }, { { "Loop Options", "Reset loop region" }, false },
        { { "Delete Note(s)" }, true }, { { "Repeat", "Equal", "3" }, true }, { { "Flatten Repeats" }, true },
        { { "Invert Selection" }, true }, { { "Reverse Selection" }, true }, { { "Duplicate Selection" }, true },
    };

    PianoRollHarness h;
    auto start = makeSequence ({ makeNote (0, 10, 240), makeNote (4, 1210, 240), makeNote (7, 2410, 240) });
    start.notes[0].repeatStyle = 2;
    start.notes[0].repeatCount = 2;
    start.loops[3] = { 0, 960 };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.path.back());
        h.startWith (start);
        h.window->click (h.grid(), h.at (3000.0, 6)); // the grid takes the keys
        EXPECT_TRUE (h.window->pressKey (juce::KeyPress ('a')));
        h.window->rightClick (h.grid(), c.onNote ? h.at (100.0, 0) : h.at (3000.0, 3));
        ASSERT_TRUE (EditorWindow::isMenuOpen());

        for (auto* item : c.path)
            ASSERT_TRUE (EditorWindow::chooseMenuItem (item)) << item;

        EXPECT_EQ (h.numUndoSteps(), 1);
        EXPECT_EQ (h.undoTooltip(), "Undo: Edit phrase");
    }
}

TEST (PianoRollCommands, theGridsShortcutsActOnTheSelectionAndAClickElsewhereGivesTheKeysBack)
{
    PianoRollHarness h;
    h.startWith (makeSequence ({ makeNote (0, 0, 240), makeNote (4, 480, 240), makeNote (7, 970, 240) }));
    h.window->click (h.grid(), h.at (100.0, 0));

    // "A" selects all, "I" inverts the pitches: 0, 4, 7 become 7, 3, 0; "Q" snaps.
    EXPECT_TRUE (h.window->pressKey (juce::KeyPress ('a')));
    EXPECT_TRUE (h.window->pressKey (juce::KeyPress ('i')));
    EXPECT_EQ (h.phrase().notes[0].number, 7);
    EXPECT_EQ (h.phrase().notes[2].number, 0);
    EXPECT_TRUE (h.window->pressKey (juce::KeyPress ('q')));
    EXPECT_EQ (h.phrase().notes[2].timestamp, 960);
    EXPECT_EQ (h.numUndoSteps(), 2);

    // "C" copies; a click on an empty place sets where "V" pastes (snapped), while a click
    // on a note only selects it; "Del" deletes what is selected.
    h.window->click (h.grid(), h.at (1500.0, 5));
    h.window->click (h.grid(), h.at (100.0, 7));
    EXPECT_TRUE (h.window->pressKey (juce::KeyPress ('c')));
    h.window->click (h.grid(), h.at (2900.0, 5));
    h.window->click (h.grid(), h.at (1000.0, 0));
    ASSERT_EQ (h.pianoRoll().getDocument().getSelection().size(), 1);
    EXPECT_TRUE (h.window->pressKey (juce::KeyPress ('v')));
    EXPECT_EQ (h.phrase().notes.size(), 4u);
    EXPECT_EQ (std::tuple (h.phrase().notes.back().timestamp, h.phrase().notes.back().number), std::tuple (2880, 7));
    EXPECT_TRUE (h.window->pressKey (juce::KeyPress (juce::KeyPress::deleteKey)));
    EXPECT_EQ (h.phrase().notes.size(), 3u);
    EXPECT_EQ (h.numUndoSteps(), 4);

    EXPECT_FALSE (h.window->pressKey (juce::KeyPress (juce::KeyPress::spaceKey)));
    EXPECT_FALSE (h.window->pressKey (juce::KeyPress ('s', ModifierKeys::commandModifier, 0)));

    // The tool bar's grid button: a grid size kept with the song, ticked in the menus.
    h.window->click (h.window->get<juce::Button> ("grid_size"), juce::Point<float> (10.0f, 10.0f));
    ASSERT_TRUE (EditorWindow::chooseMenuItem ("Triplets"));
    ASSERT_TRUE (EditorWindow::chooseMenuItem ("1/8t"));
    EXPECT_EQ (h.grid().getGrid().identifier, 123);
    EXPECT_EQ ((int) h.processor.getPianoRollSettings()["grid_size"], 123);
    h.window->rightClick (h.grid(), h.at (3000.0, 3));
    h.window->saveScreenshot ("grid menu");
    juce::PopupMenu::dismissAllActiveMenus();

    // Through the X server: a click on the grid takes the keys from the host, so its shortcuts
    // and undo work as in a host's own piano roll.
    h.startWith (makeSequence ({ makeNote (0, 0, 240), makeNote (2, 960, 240), makeNote (5, 1920, 240) }));

    h.window->xClick (h.grid(), h.at (3000.0, 6));
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return h.window->windowHasKeyboardFocus() && h.grid().hasKeyboardFocus (false); }));

    h.window->xKey ("a");
    EXPECT_EQ (h.pianoRoll().getDocument().getSelection().size(), 3);

    h.window->xKey ("Delete");
    EXPECT_TRUE (h.phrase().notes.empty());
    EXPECT_EQ (h.undoTooltip(), "Undo: Edit phrase");

    h.window->xKey ("ctrl+z");
    EXPECT_EQ (h.phrase().notes.size(), 3u);
    EXPECT_EQ (h.redoTooltip(), "Redo: Edit phrase");
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return h.pianoRoll().getDocument().getPhrase().notes.size() == 3; }))
        << "the grid shows the undone phrase";

    h.window->xKey ("ctrl+shift+z");
    EXPECT_TRUE (h.phrase().notes.empty());
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return h.pianoRoll().getDocument().getPhrase().notes.empty(); }));

    // A tool button does not keep the keys: the host has them again.
    h.window->xClick (h.pianoRoll().getToolBar().getToolButton (tarn::NoteTool::pencil));
    EXPECT_TRUE (EditorWindow::pumpUntil ([&]
                                          { return ! h.window->windowHasKeyboardFocus(); },
                                          2000));
    EXPECT_EQ (h.grid().getTool(), tarn::NoteTool::pencil);
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

    const auto menu = h.pianoRoll().createLaneMenu (0);
    EXPECT_TRUE (itemOf (menu, "CC 1 - Modulation Wheel").isTicked);
    EXPECT_TRUE (itemOf (menu, "Send MIDI Learn").isEnabled);
    EXPECT_FALSE (itemOf (menu, "Copy To").isEnabled) << "no other lane";

    // Through the lane button's own menu. (The grid has the keys first: the framework closes a
    // menu at once when no component of the process has the keyboard focus.)
    h.window->click (h.grid(), h.at (3000.0, 6));
    h.window->rightClick (*h.pianoRoll().getLaneBar().getLaneButton (0), juce::Point<float> (10.0f, 10.0f));
    ASSERT_TRUE (EditorWindow::chooseMenuItem ("Set Controller"));
    h.window->saveScreenshot ("lane menu");
    ASSERT_TRUE (EditorWindow::chooseMenuItem ("Pitch Bend"));
    EXPECT_EQ (h.phrase().lanes[0].type, tarn::ControllerLane::pitchBend);
    EXPECT_EQ (h.undoTooltip(), "Undo: Change controller type");
    EXPECT_FALSE (itemOf (h.pianoRoll().createLaneMenu (0), "Send MIDI Learn").isEnabled) << "pitch bend has no controller number";

    h.pianoRoll().performLaneMenuCommand (0, itemOf (h.pianoRoll().createLaneMenu (0), "3").itemID); // channel 3
    EXPECT_EQ (h.phrase().lanes[0].channel, 3);

    // "Rename" edits the button's label in place, starting from its text.
    h.pianoRoll().performLaneMenuCommand (0, itemOf (menu, "Rename").itemID);
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

    h.pianoRoll().performLaneMenuCommand (0, itemOf (menu, "Delete").itemID);
    EXPECT_TRUE (h.phrase().lanes.empty());
    EXPECT_EQ (h.undoTooltip(), "Undo: Delete controller");
}

TEST (PianoRollCommands, theLengthTimeSignatureAndRepeatBoxesEditThePhrase)
{
    PianoRollHarness h;
    auto& controls = h.pianoRoll().getToolBar().getPhraseControls();
    auto& box = controls.getLengthBox();
    auto& signature = controls.getTimeSignatureBox();
    auto& repeat = controls.getRepeatBox();

    const auto typeLength = [&h, &box] (const char* text)
    {
        h.window->doubleClick (box);
        ASSERT_TRUE (box.isEditing());
        h.window->typeText (text); // the old value is selected: typing replaces it
        h.window->pressKey (juce::KeyPress (juce::KeyPress::returnKey));
        EditorWindow::pump();
    };
    const auto chooseFromList = [&h] (juce::ComboBox& combo, const juce::String& item)
    {
        // At its arrow: the text of a box that takes typing is a text field.
        h.window->click (combo, juce::Point<float> ((float) combo.getWidth() - 6.0f, (float) combo.getHeight() * 0.5f));
        ASSERT_TRUE (EditorWindow::chooseMenuItem (item)) << item;
        EditorWindow::pump();
    };

    typeLength ("2.1.2");
    EXPECT_EQ (h.phrase().getLength(), 7680 + 960 + 480);
    EXPECT_EQ (h.undoTooltip(), "Undo: Edit phrase");

    // Dragging the bars up two steps previews every step and commits once.
    const auto steps = h.numUndoSteps();
    h.drag (box, { 10.0f, 10.0f }, { 10.0f, -3.0f });
    EXPECT_EQ (box.getShownLength(), (tarn::BarsBeatsSixteenths { 4, 1, 2 }));
    EXPECT_EQ (h.phrase().getLength(), 4 * 3840 + 960 + 480);
    EXPECT_EQ (h.numUndoSteps(), steps + 1);

    // A phrase of whole bars keeps its number of bars in a new time signature, in one step.
    typeLength ("2");
    chooseFromList (signature, "3/4");
    EXPECT_EQ (std::tuple (h.phrase().timeSignatureNumerator, h.phrase().timeSignatureDenominator, h.phrase().getLength()), std::tuple (3, 4, 2 * 2880));
    EXPECT_EQ (box.getShownLength(), (tarn::BarsBeatsSixteenths { 2, 0, 0 }));
    h.window->click (EditorWindow::get ("undo"));
    h.refresh(); // the undone phrase reaches the window before the next gesture, not in the middle of it
    EXPECT_EQ (std::tuple (h.phrase().timeSignatureNumerator, h.phrase().getLength()), std::tuple (4, 2 * 3840));
    h.refresh(); // the undone phrase reaches the boxes before the next edit starts

    // One that is not whole bars keeps its length; text that is no time signature changes nothing.
    typeLength ("2.1");
    chooseFromList (signature, "7/8");
    EXPECT_EQ (std::tuple (h.phrase().timeSignatureNumerator, h.phrase().timeSignatureDenominator, h.phrase().getLength()), std::tuple (7, 8, 2 * 3840 + 960));
    signature.setText ("7/9");
    EditorWindow::pump();
    EXPECT_EQ (h.phrase().timeSignatureDenominator, 8) << "not a time signature";

    // "Repeat:": a song's phrase that plays no pass says so; "Never" is one pass, and
    // choosing what is there already changes nothing.
    EditCommands (h.processor).setPhraseLoopCount (0, 0);
    h.refresh();
    EXPECT_EQ (repeat.getText(), "Silent");
    chooseFromList (repeat, "Never");
    EXPECT_EQ (h.phrase().loopCount, 1);
    const auto stepsBefore = h.numUndoSteps();
    chooseFromList (repeat, "Never");
    chooseFromList (repeat, "4");
    EXPECT_EQ (h.phrase().loopCount, 5);
    EXPECT_EQ (h.numUndoSteps(), stepsBefore + 1);
    h.window->saveScreenshot ("controls");
}

TEST (PianoRollCommands, aLengthDraggedOrTypedForOnePhraseChoosesNothingOnceAnotherIsShown)
{
    PianoRollHarness h;
    EditCommands (h.processor).editPhrase (1, makeSequence ({ makeNote (0, 0, 480) }, 2 * 3840));
    h.processor.getPhraseManager().clearUndoHistory();
    auto& box = h.pianoRoll().getToolBar().getPhraseControls().getLengthBox();

    // A keyswitch brings phrase 2 in while the bars of phrase 1 are dragged up.
    h.processor.prepareToPlay (48000.0, 512);
    h.window->press (box, { 10.0f, 10.0f });
    h.window->moveTo (box, { 10.0f, 2.0f });
    ASSERT_EQ (box.getShownLength().bars, 2) << "the drag previews";

    juce::AudioBuffer<float> audio (2, 512);
    juce::MidiBuffer midi;
    midi.addEvent (juce::MidiMessage::noteOn (1, 25, (juce::uint8) 100), 0); // C#0: phrase 2
    h.processor.processBlock (audio, midi);
    ASSERT_TRUE (EditorWindow::pumpUntil ([&h] { return h.editor().getEditedPhrase() == 1; }));
    EXPECT_FALSE (box.isDragging());

    h.window->moveTo (box, { 10.0f, -20.0f });
    h.window->release();
    EXPECT_EQ (h.processor.getPhrase (0).getLength(), 3840);
    EXPECT_EQ (h.processor.getPhrase (1).getLength(), 2 * 3840);
    EXPECT_EQ (box.getShownLength(), (tarn::BarsBeatsSixteenths { 2, 0, 0 }));
    EXPECT_EQ (h.numUndoSteps(), 0);

    // A length typed, then the host loads a song: Return chooses nothing for the loaded phrase.
    juce::MemoryBlock song;
    {
        Cadenzium2AudioProcessor other;
        EditCommands (other).editPhrase (1, makeSequence ({ makeNote (2, 960, 480) }, 3 * 3840));
        other.getStateInformation (song);
    }

    h.window->doubleClick (box);
    h.window->typeText ("5");
    h.processor.setStateInformation (song.getData(), (int) song.getSize());
    ASSERT_TRUE (EditorWindow::pumpUntil ([&h] { return h.pianoRoll().getDocument().getPhrase().getLength() == 3 * 3840; }));
    EXPECT_FALSE (box.isEditing());
    h.window->pressKey (juce::KeyPress (juce::KeyPress::returnKey));
    EditorWindow::pump();
    EXPECT_EQ (h.processor.getPhrase (1).getLength(), 3 * 3840);
    EXPECT_FALSE (h.processor.getPhraseManager().canUndo());
}

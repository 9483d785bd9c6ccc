// A musician's session in a real window: synthetic mouse and keyboard input through the
// window's peer, with every check made on the processor's state and undo history.

#include <source/commands/EditCommands.h>
#include <source/editor/Cadenzium2AudioProcessorEditor.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/gui/panels/TopBar.h>
#include <tarn/gui/params/Combo.h>
#include <tests/source/editor/EditorTestHelpers.h>
#include <tests/source/processor/PluginHarness.h>
#include <tests/support/Phrases.h>
#include <tests/support/editor/ProductEditorTest.h>

#include <gtest/gtest.h>

#include <set>

namespace cadenzium::test
{
namespace
{
    /** A phrase with one note on each of these rows, at bar starts. */
    tarn::Sequence phraseWithNotesOn (std::initializer_list<int> rows)
    {
        std::vector<tarn::SequenceNote> notes;
        for (auto row : rows)
            notes.push_back (makeNote (row, 3840 * (int) notes.size(), 480));
        return makeSequence (notes, 4 * 3840);
    }

    std::vector<int> rowsOfNotes (const tarn::Sequence& phrase)
    {
        std::vector<int> rows;
        for (auto& note : phrase.notes)
            rows.push_back (note.number);
        return rows;
    }
} // namespace

TEST (Cadenzium2EditorScenario, undoNamesEachStepPhraseButtonsChooseWhatGenerateActsOnAndRenamesSurviveMoves)
{
    Cadenzium2AudioProcessor processor;
    EditorWindow window (processor);
    auto& undo = EditorWindow::get<juce::Button> ("undo");
    auto& redo = EditorWindow::get<juce::Button> ("redo");

    window.click (EditorWindow::get ("generate"));
    EXPECT_FALSE (processor.getPhrase (0).notes.empty());
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return undo.getTooltip() == "Undo: Edit phrase"; })) << undo.getTooltip();
    EXPECT_TRUE (undo.isEnabled());

    window.click (undo);
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return redo.getTooltip() == "Redo: Edit phrase"; })) << redo.getTooltip();
    EXPECT_EQ (undo.getTooltip(), "Nothing to undo");
    EXPECT_FALSE (undo.isEnabled());
    EXPECT_TRUE (redo.isEnabled());

    window.click (EditorWindow::get ("mutate"));
    window.click (EditorWindow::get ("generate"));
    window.click (EditorWindow::get ("mutate"));
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return undo.getTooltip() == "Undo: Mutate phrase"; })) << undo.getTooltip();

    // A phrase button edits its phrase and asks the processor to play it; generating acts on it.
    window.click (EditorWindow::get ("phrase_7"));
    EXPECT_EQ (processor.getRequestedPhrase(), 6);
    EXPECT_TRUE (editorOf (window).getPhraseButtons().getButton (6).isEdited());
    EXPECT_FALSE (editorOf (window).getPhraseButtons().getButton (0).isEdited());
    window.click (EditorWindow::get ("generate"));
    EXPECT_FALSE (processor.getPhrase (6).notes.empty());

    // Panic: the next block ends every note on every channel before anything else.
    processor.prepareToPlay (48000.0, 256);
    window.click (EditorWindow::get ("panic"));
    juce::AudioBuffer<float> audio (2, 256);
    juce::MidiBuffer block;
    processor.processBlock (audio, block);
    std::set<int> silencedChannels;
    for (const auto metadata : block)
        if (metadata.getMessage().isAllNotesOff())
            silencedChannels.insert (metadata.getMessage().getChannel());
    EXPECT_EQ (silencedChannels.size(), 16u);

    // A phrase renamed on its button, moved right, and the move undone.
    auto& phrases = processor.getPhraseManager();
    window.rightClick (EditorWindow::get ("phrase_2"));
    ASSERT_TRUE (EditorWindow::pumpUntil (EditorWindow::isMenuOpen));
    window.saveScreenshot ("phrase-menu");
    // The choice is made from a freshly opened menu: the one kept open for the screenshot is
    // not always still there.
    juce::PopupMenu::dismissAllActiveMenus();
    EditorWindow::pump (50);

    window.rightClick (EditorWindow::get ("phrase_2"));
    ASSERT_TRUE (EditorWindow::chooseMenuItem ("Rename"));
    ASSERT_NE (EditorWindow::find ("phrase_name_editor"), nullptr);
    window.typeText ("Verse");
    window.saveScreenshot ("phrase-rename");
    window.pressKey (juce::KeyPress (juce::KeyPress::returnKey));

    EXPECT_EQ (processor.getPhrase (1).name, "Verse");
    EXPECT_EQ (phrases.getUndoTooltip(), "Undo: Rename phrase");
    EXPECT_EQ (EditorWindow::get<juce::Button> ("phrase_2").getButtonText(), "Verse");

    window.rightClick (EditorWindow::get ("phrase_2"));
    ASSERT_TRUE (EditorWindow::chooseMenuItem ("Move Right"));
    EXPECT_EQ (processor.getPhrase (2).name, "Verse");
    EXPECT_EQ (processor.getPhrase (1).name, "");
    EXPECT_EQ (phrases.getUndoTooltip(), "Undo: Change phrase order");

    window.click (EditorWindow::get ("undo"));
    EXPECT_EQ (processor.getPhrase (1).name, "Verse");
    EXPECT_EQ (processor.getPhrase (2).name, "");
    EXPECT_EQ (phrases.getRedoTooltip(), "Redo: Change phrase order");
    EXPECT_TRUE (EditorWindow::pumpUntil ([]
                                          { return EditorWindow::get<juce::Button> ("phrase_2").getButtonText() == "Verse"; }))
        << "the buttons show the names the undo brought back";
    EXPECT_EQ (EditorWindow::get<juce::Button> ("phrase_3").getButtonText(), "3");
}

TEST (Cadenzium2EditorScenario, movingPhrasesNeverChangesWhatPlaysTheEditedAndThePlayingPhraseFollowTheirPlace)
{
    Cadenzium2AudioProcessor processor;
    EditCommands commands (processor);
    for (int slot = 0; slot < 4; ++slot)
        commands.renamePhrase (slot, juce::String::charToString ((juce::juce_wchar) ('A' + slot)));

    processor.prepareToPlay (48000.0, 256);
    juce::AudioBuffer<float> audio (2, 256);
    const auto playingName = [&]
    {
        juce::MidiBuffer midi;
        processor.processBlock (audio, midi);
        return processor.getPhrase (processor.getPlayingPhrase()).name;
    };

    EditorWindow window (processor);
    auto& editor = editorOf (window);
    const auto move = [&window] (int slot, const char* item)
    {
        window.rightClick (EditorWindow::get ("phrase_" + juce::String (slot + 1)));
        ASSERT_TRUE (EditorWindow::chooseMenuItem (item)) << item;
    };
    ASSERT_EQ (playingName(), "A");

    // The edited phrase, which does not play, moves: the piano roll follows it, what plays stays.
    editor.setEditedPhrase (2);
    move (2, "Move Right");
    EXPECT_EQ (processor.getPhrase (3).name, "C");
    EXPECT_EQ (playingName(), "A");
    EXPECT_EQ (processor.getPlayingPhrase(), 0);
    EXPECT_EQ (editor.getEditedPhrase(), 3);
    EXPECT_EQ (editor.getPianoRoll().getDocument().getPhrase().name, "C");

    // The playing phrase moves: it goes on playing from its new place (and, as whenever the
    // playing slot changes, the piano roll shows it).
    move (0, "Move Right");
    EXPECT_EQ (playingName(), "A");
    EXPECT_EQ (processor.getPlayingPhrase(), 1);
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return editor.getEditedPhrase() == 1; }));

    // Its neighbour moves onto its place: it is pushed aside and still plays.
    move (2, "Move Left");
    EXPECT_EQ (playingName(), "A");
    EXPECT_EQ (processor.getPlayingPhrase(), 2);
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return editor.getEditedPhrase() == 2; }));
    EXPECT_EQ (processor.getPhraseManager().getUndoTooltip(), "Undo: Change phrase order");
}

TEST (Cadenzium2EditorScenario, aKeyClickedWhileLatchedReachesTheInputAndStaysLitAndPhrasesPastNote127HaveNoKeyswitch)
{
    Cadenzium2AudioProcessor processor;
    processor.prepareToPlay (48000.0, 256);
    processor.getParameterState().getParameter ("input_latch")->setValueNotifyingHost (1.0f);
    EditorWindow window (processor);
    auto& keyboard = editorOf (window).getKeyboard();

    // Middle C, low on its white key (below the black keys).
    const auto x = keyboard.getKeyStartPosition (60) + keyboard.getKeyWidth() / 2.0f;
    window.click (keyboard, juce::Point<float> (x, (float) keyboard.getHeight() * 0.85f));

    juce::AudioBuffer<float> audio (2, 256);
    juce::MidiBuffer midi;
    processor.processBlock (audio, midi);

    const auto held = processor.getHeldNotesSnapshot();
    ASSERT_EQ (held.size(), 1);
    EXPECT_EQ (held[0].note, 60);
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return keyboard.isShownHeld (60); }));
    EXPECT_FALSE (keyboard.isShownHeld (61));

    // At the top keyswitch range.
    window.click (EditorWindow::get<tarn::params::Combo> ("keyswitch_range").getComboBox());
    ASSERT_TRUE (EditorWindow::chooseMenuItem ("C8 : G8"));
    EXPECT_EQ (processor.getIntParameterValue ("keyswitch_range"), 10);

    const auto tooltip = [] (int phrase)
    { return EditorWindow::get<juce::Button> ("phrase_" + juce::String (phrase)).getTooltip(); };
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return tooltip (8).startsWith ("Phrase 8 (G8): "); })) << tooltip (8);
    for (auto phrase : { 9, 12 })
        EXPECT_TRUE (tooltip (phrase).startsWith ("Phrase " + juce::String (phrase) + " (no keyswitch): Click to switch")) << tooltip (phrase);
}

TEST (Cadenzium2EditorScenario, thePresetNameGetsAStarWhileTheStateDiffersFromTheLoadedPresetButNotForViewChanges)
{
    const juce::File factory (CADENZIUM_FACTORY_PRESETS);
    Cadenzium2AudioProcessor processor;
    ASSERT_TRUE (processor.getPresetManager().loadPresetFile (factory.getChildFile ("Melodic Figures/Dorian Motif.bpre")));
    EditorWindow window (processor);
    auto& editor = editorOf (window);
    const auto shownName = [&editor] { return editor.getTopBar().getShownPresetName(); };
    const auto settles = [] { EditorWindow::pump (3 * 1000 / tarn::TopBar::modifiedCheckHz); };

    settles();
    EXPECT_EQ (shownName(), "Dorian Motif");

    // The view is no part of a preset: the window keeps the song's view but not a new preset.
    window.click (EditorWindow::get ("sidebar_toggle"));
    window.click (EditorWindow::get ("keyboard_preview"));
    settles();
    EXPECT_EQ (shownName(), "Dorian Motif");

    // A control, and back: the star comes and goes.
    window.click (EditorWindow::get ("sidebar_toggle"));
    auto& latch = EditorWindow::get ("input_latch");
    window.click (latch);
    ASSERT_EQ (processor.getIntParameterValue ("input_latch"), 1);
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return shownName() == "Dorian Motif*"; })) << shownName();
    window.click (latch);
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return shownName() == "Dorian Motif"; })) << shownName();

    // An edit of the rows, and its undo.
    window.click (editor.getRowEditor().getRow (1), {}, juce::ModifierKeys::shiftModifier);
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return shownName() == "Dorian Motif*"; })) << shownName();
    window.saveScreenshot ("modified");
    window.click (EditorWindow::get ("undo"));
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return shownName() == "Dorian Motif"; })) << shownName();

    // Another preset, changed or not before, loads unchanged.
    window.click (EditorWindow::get ("generate"));
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return shownName() == "Dorian Motif*"; })) << shownName();
    ASSERT_TRUE (processor.getPresetManager().loadPresetFile (factory.getChildFile ("Arpeggios/Rising Eighths.bpre")));
    settles();
    EXPECT_EQ (shownName(), "Rising Eighths");

    // A song the host restores is what its preset was, as far as the star goes.
    window.click (EditorWindow::get ("generate"));
    juce::MemoryBlock song;
    processor.getStateInformation (song);
    processor.setStateInformation (song.getData(), (int) song.getSize());
    settles();
    EXPECT_EQ (shownName(), "Rising Eighths");
}

TEST (Cadenzium2EditorScenario, aNewRowDraggedToTheBottomLineRenumbersTheRowsOfEveryPhrase)
{
    Cadenzium2AudioProcessor processor;
    EditCommands commands (processor);
    commands.editPhrase (0, phraseWithNotesOn ({ 0, 3, 7 }));
    commands.editPhrase (5, phraseWithNotesOn ({ 0, 7 }));

    EditorWindow window (processor);
    auto& rows = editorOf (window).getRowEditor();

    window.click (EditorWindow::get ("new_row"));
    ASSERT_EQ (processor.getPhraseManager().getRows().size(), 9u);
    ASSERT_EQ (rows.getNumRows(), 9);
    EXPECT_EQ (processor.getPhraseManager().getUndoTooltip(), "Undo: Create new row");

    // The new row 8 goes to row 0's line: rows 0..7 move up by one.
    auto& newRow = rows.getRow (8);
    auto& firstRow = rows.getRow (0);
    const auto from = newRow.getLocalBounds().getCentre().toFloat();
    const auto to = rows.getLocalPoint (&firstRow, firstRow.getLocalBounds().getCentre()).toFloat()
                    - rows.getLocalPoint (&newRow, juce::Point<int>()).toFloat();
    window.drag (newRow, from, to);

    const auto& table = processor.getPhraseManager().getRows();
    EXPECT_EQ (table[0].value, 8); // the new row's value: one above the highest Pitch row
    EXPECT_EQ (table[1].value, 0);
    EXPECT_EQ (rowsOfNotes (processor.getPhrase (0)), (std::vector<int> { 1, 4, 8 }));
    EXPECT_EQ (rowsOfNotes (processor.getPhrase (5)), (std::vector<int> { 1, 8 }));
    EXPECT_EQ (processor.getPhraseManager().getUndoTooltip(), "Undo: Change row order");
    EXPECT_EQ (rows.getPopup(), nullptr) << "a drag is not a click: the settings stay closed";

    // One undo puts every phrase back.
    window.click (EditorWindow::get ("undo"));
    EXPECT_EQ (rowsOfNotes (processor.getPhrase (0)), (std::vector<int> { 0, 3, 7 }));
    EXPECT_EQ (processor.getPhraseManager().getRows()[8].value, 8);
}

TEST (Cadenzium2EditorScenario, aCollapsedPanelASidebarSwitchTheKeyboardAndTheWindowSizeTellTheHostAndComeBackWithTheSong)
{
    juce::MemoryBlock song;
    {
        Cadenzium2AudioProcessor processor;
        EditorWindow window (processor);
        auto& editor = editorOf (window);
        HostListener host (processor);
        EXPECT_FALSE (processor.getEditorSettings().hasProperty ("editor_window_width")) << "opening changes nothing in the song";

        // Each view change is a change of the song the host is told of.
        const auto clickTellsTheHost = [&] (juce::Component& target)
        {
            const auto before = host.internalPings;
            window.click (target);
            processor.flushStateChangePing();
            EXPECT_GT (host.internalPings, before) << target.getComponentID();
        };

        clickTellsTheHost (EditorWindow::get ("sidebar_toggle"));
        clickTellsTheHost (EditorWindow::get ("sidebar_toggle"));
        clickTellsTheHost (editor.getPlaybackSidebar().getPanelStack().getPanel (1).getCaptionButton());
        EXPECT_EQ (processor.getEditorSettings()["playback_collapse_states"].toString(), "0100");

        clickTellsTheHost (EditorWindow::get ("sidebar_generation"));
        EXPECT_EQ (processor.getEditorSettings()["sidebar_view"].toString(), "generation");
        clickTellsTheHost (editor.getGenerationSidebar().getPanelStack().getPanel (0).getCaptionButton());
        EXPECT_EQ (processor.getEditorSettings()["generation_collapse_states"].toString(), "10000");

        ASSERT_TRUE (editor.isKeyboardViewShown());
        clickTellsTheHost (EditorWindow::get ("keyboard_preview"));
        EXPECT_FALSE ((bool) processor.getEditorSettings()["show_keyboard_view"]);

        // The musician drags the window's corner out by 256 × 165.
        auto* corner = findResizeCorner (editor);
        ASSERT_NE (corner, nullptr);
        const auto grip = corner->getLocalBounds().toFloat().getBottomRight() - juce::Point<float> (2.0f, 2.0f);
        window.drag (*corner, grip, grip + juce::Point<float> (256.0f, 165.0f));
        EXPECT_EQ ((int) processor.getEditorSettings()["editor_window_width"], 1500);
        EXPECT_EQ ((int) processor.getEditorSettings()["editor_window_height"], 1100);
        processor.getStateInformation (song);
    }

    Cadenzium2AudioProcessor restored;
    restored.setStateInformation (song.getData(), (int) song.getSize());
    EditorWindow window (restored);
    auto& editor = editorOf (window);
    EXPECT_EQ (window.getScreenArea().getWidth(), 1500);
    EXPECT_EQ (window.getScreenArea().getHeight(), 1100);
    EXPECT_EQ (editor.getPlaybackSidebar().getPanelStack().getCollapseStates(), "0100");
    EXPECT_EQ (editor.getGenerationSidebar().getPanelStack().getCollapseStates(), "10000");
    EXPECT_TRUE (editor.getGenerationSidebar().isVisible());
    EXPECT_FALSE (editor.getPlaybackSidebar().isVisible());
    EXPECT_FALSE (editor.getKeyboard().isVisible());
}

TEST (Cadenzium2EditorScenario, shiftClicksOnTheKeyboardHoldAChordThatAPlainClickOrClosingTheWindowLetsGo)
{
    Cadenzium2AudioProcessor processor;
    processor.prepareToPlay (48000.0, 256);
    processor.getToastManager().takeToasts(); // the start-up toast lies over the keyboard
    auto window = std::make_unique<EditorWindow> (processor);
    auto& keyboard = editorOf (*window).getKeyboard();

    const auto key = [&keyboard] (int note)
    {
        // Low on the key, below the black keys, for a white one.
        const auto bounds = keyboard.getRectangleForKey (note);
        return juce::Point<float> (bounds.getCentreX(), bounds.getY() + bounds.getHeight() * (juce::MidiMessage::isMidiNoteBlack (note) ? 0.5f : 0.85f));
    };
    const auto heldAfterABlock = [&processor]
    {
        juce::AudioBuffer<float> audio (2, 256);
        juce::MidiBuffer midi;
        processor.processBlock (audio, midi);
        std::vector<int> notes;
        for (const auto& held : processor.getHeldNotesSnapshot())
            notes.push_back (held.note);
        return notes;
    };

    for (auto note : { 60, 63, 67 })
        window->click (keyboard, key (note), juce::ModifierKeys::shiftModifier);
    EXPECT_EQ (heldAfterABlock(), (std::vector<int> { 60, 63, 67 }));
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return keyboard.isShownHeld (60) && keyboard.isShownHeld (63) && keyboard.isShownHeld (67); }));
    window->saveScreenshot ("chord held");

    // A second Shift-click lets one key go; a plain click lets the chord go and plays its key.
    window->click (keyboard, key (63), juce::ModifierKeys::shiftModifier);
    EXPECT_EQ (heldAfterABlock(), (std::vector<int> { 60, 67 }));
    window->press (keyboard, key (72));
    EXPECT_EQ (heldAfterABlock(), (std::vector<int> { 72 }));
    window->release();
    EXPECT_EQ (heldAfterABlock(), (std::vector<int> {}));

    // The window closes on a held chord: it is let go, nothing sounds on.
    window->click (keyboard, key (48), juce::ModifierKeys::shiftModifier);
    window->click (keyboard, key (55), juce::ModifierKeys::shiftModifier);
    ASSERT_EQ (heldAfterABlock().size(), 2u);
    window.reset();
    EXPECT_EQ (heldAfterABlock(), (std::vector<int> {}));
}

TEST (Cadenzium2EditorScenario, aRowDraggedPastTheBottomEdgeScrollsTheRowsAndLandsOnALineThatWasHidden)
{
    Cadenzium2AudioProcessor processor;
    EditCommands commands (processor);
    commands.newRows (24);
    auto top = processor.getPhraseManager().getRows()[31];
    top.name = "Dragged";
    commands.changeRow (31, top);

    EditorWindow window (processor);
    auto& editor = editorOf (window);
    auto& rows = editor.getRowEditor();
    const auto& axis = editor.getPianoRoll().getRowAxis();
    ASSERT_DOUBLE_EQ (axis.scrollY, 0.0);
    const auto lowestShown = axis.rowAt (editor.getPianoRoll().getGridBounds().getHeight() - 1.0);
    ASSERT_GT (lowestShown, 0) << "32 rows do not fit, so the lowest ones are hidden";

    // Row 31 stands on the top line; it is dragged 80 pixels past the bottom of the column.
    auto& dragged = rows.getRow (31);
    const auto from = dragged.getLocalBounds().getCentre().toFloat();
    const auto to = juce::Point<float> (from.x, (float) (rows.getHeight() + 80 - dragged.getY()));
    window.drag (dragged, from, to, 20);

    EXPECT_GT (axis.scrollY, 0.0) << "the rows scrolled towards the pointer";
    const auto& table = processor.getPhraseManager().getRows();
    const auto landed = std::find_if (table.begin(), table.end(), [] (auto& row)
                                      { return row.name == "Dragged"; })
                        - table.begin();
    EXPECT_LT (landed, lowestShown) << "it landed on a line that was hidden when the drag began";
    EXPECT_EQ (processor.getPhraseManager().getUndoTooltip(), "Undo: Change row order");
}
} // namespace cadenzium::test

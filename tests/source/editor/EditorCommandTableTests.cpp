// Every command and tool of the window, as the manual lists them: it exists with its tooltip
// text and does what it names. The texts are written out here, not read from the editor.

#include <source/commands/EditCommands.h>
#include <source/editor/Cadenzium2AudioProcessorEditor.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tests/source/editor/EditorTestHelpers.h>
#include <tests/source/processor/PluginHarness.h>

#include <gtest/gtest.h>

#include <set>

using namespace cadenzium::test;

TEST (EditorCommands, everyCommandAndToolOfTheWindowShowsItsTooltip)
{
    const std::pair<const char*, const char*> expected[] {
        { "new_row", "New Row: Create a new row in the phrase editor" },
        { "cursor_tool", "Cursor: Select notes by clicking or dragging a selection box. Hold shift for multiple selection. Double click to create notes." },
        { "brush_tool", "Brush: Click and drag to create multiple notes based on the grid size." },
        { "loop_tool", "Loop: Edit the loop regions for individual rows." },
        { "pencil_tool", "Pencil: Draw notes with variable lengths." },
        { "undo", "Nothing to undo" },
        { "redo", "Nothing to redo" },
        { "keyboard_preview", "Keyboard View: Toggle the keyboard view" },
        { "sidebar_toggle", "Sidebar View: Toggle the sidebar" },
        { "length_box", "Length: Set the sequence loop length in Bars.Beats.Sixteenths. Double click to type a value" },
        { "time_signature", "Time Signature: Set the sequence time signature" },
        { "repeat", "Repeat: Set the number of repeats a phrase will play before stopping" },
        { "load_v1_preset", "Load v1 Preset: Loads a preset from version 1 of Cadenzium. You can drag and drop a file onto this button. Right click for bulk conversion" },
        { "import_midi", "Import MIDI Pattern: Loads a MIDI file into the piano roll. You can drag and drop a file onto this button" },
        { "render_midi", "Render MIDI: Applies the current Cadenzium pattern to a MIDI chord progression" },
        { "generate", "Generate: Generate a new sequence using the settings from the generation panel" },
        { "mutate", "Mutate: Create a variation of the current phrase using the settings from the Mutation panel" },
        { "panic", "Panic: Kill all notes and reset in case of hanging notes" },
        { "mutation_panel_mutate", "Mutate: Create a variation of the current phrase using unlocked rows. Each click can be undone." },
        { "row_0", "Row: Drag to reorder. Right click to edit row settings. Shift click to toggle mute." },
        { "phrase_1", "Phrase 1 (C0): Click to switch to phrase and view in editor. Right click for more options" },
        { "phrase_12", "Phrase 12 (B0): Click to switch to phrase and view in editor. Right click for more options" },
    };

    Cadenzium2AudioProcessor processor;
    Cadenzium2AudioProcessorEditor editor (processor);

    for (const auto& [id, tooltip] : expected)
    {
        auto* control = findById (editor, id);
        ASSERT_NE (control, nullptr) << id;
        EXPECT_EQ (tooltipOf (*control), juce::String (tooltip)) << id;
    }

    // The buttons the manual names by their names, and the editor's captions.
    for (const auto& [id, name] : { std::pair { "new_row", "New Row" }, { "undo", "Undo" }, { "redo", "Redo" },
                                    { "keyboard_preview", "Keyboard Preview" }, { "sidebar_toggle", "Sidebar Toggle" },
                                    { "generate", "Generate" }, { "mutate", "Mutate" } })
        EXPECT_EQ (findById (editor, id)->getName(), juce::String (name)) << id;

    EXPECT_EQ (editor.getSidebarTabs().getPlaybackTab().getButtonText(), "Playback");
    EXPECT_EQ (editor.getSidebarTabs().getGenerationTab().getButtonText(), "Generate");
}

TEST (EditorCommands, eachCommandButtonIsOneUndoStepOrAViewSwitch)
{
    Cadenzium2AudioProcessor processor;
    Cadenzium2AudioProcessorEditor editor (processor);
    auto& phrases = processor.getPhraseManager();
    auto click = [&] (const char* id)
    {
        auto* button = dynamic_cast<juce::Button*> (findById (editor, id));
        ASSERT_NE (button, nullptr) << id;
        button->triggerClick();
        juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
    };

    click ("new_row");
    EXPECT_EQ (phrases.getRows().size(), 9u);
    EXPECT_EQ (phrases.getUndoTooltip(), "Undo: Create new row");

    click ("generate");
    EXPECT_EQ (phrases.getUndoTooltip(), "Undo: Edit phrase");
    EXPECT_FALSE (processor.getPhrase (0).notes.empty());

    click ("mutate");
    EXPECT_EQ (phrases.getUndoTooltip(), "Undo: Mutate phrase");

    click ("undo");
    click ("undo");
    EXPECT_TRUE (processor.getPhrase (0).notes.empty());
    EXPECT_EQ (phrases.getRedoTooltip(), "Redo: Edit phrase");
    click ("redo");
    EXPECT_FALSE (processor.getPhrase (0).notes.empty());

    // Generating for another phrase acts on that one.
    editor.setEditedPhrase (6);
    click ("generate");
    EXPECT_FALSE (processor.getPhrase (6).notes.empty());

    // Panic: the next block ends every note on every channel before anything else.
    processor.prepareToPlay (48000.0, 256);
    click ("panic");
    juce::AudioBuffer<float> audio (2, 256);
    juce::MidiBuffer block;
    processor.processBlock (audio, block);
    std::set<int> silencedChannels;
    for (const auto metadata : block)
        if (metadata.getMessage().isAllNotesOff())
            silencedChannels.insert (metadata.getMessage().getChannel());
    EXPECT_EQ (silencedChannels.size(), 16u);

    click ("keyboard_preview");
    EXPECT_FALSE (editor.getKeyboard().isVisible());
    EXPECT_FALSE ((bool) processor.getEditorSettings()["show_keyboard_view"]);
    click ("sidebar_toggle");
    EXPECT_FALSE (editor.getPlaybackSidebar().isVisible());
    EXPECT_FALSE ((bool) processor.getEditorSettings()["show_sidebar"]);
    click ("sidebar_toggle");
    click ("sidebar_generation");
    EXPECT_TRUE (editor.getGenerationSidebar().isVisible());
    EXPECT_EQ (processor.getEditorSettings()["sidebar_view"].toString(), "generation");
}

TEST (EditorCommands, aKeyswitchBringsItsPhraseIntoThePianoRollAndLightsItsButton)
{
    Cadenzium2AudioProcessor processor;
    processor.prepareToPlay (48000.0, 256);
    Cadenzium2AudioProcessorEditor editor (processor);
    ASSERT_EQ (editor.getEditedPhrase(), 0);

    // Keyswitch range 2: note 26 is the key of phrase 3.
    juce::AudioBuffer<float> audio (2, 256);
    juce::MidiBuffer midi;
    midi.addEvent (juce::MidiMessage::noteOn (1, 26, (juce::uint8) 100), 0);
    processor.processBlock (audio, midi);
    processor.flushAudioThreadNotices();
    editor.refreshFromProcessor();

    EXPECT_EQ (editor.getEditedPhrase(), 2);
    EXPECT_TRUE (editor.getPhraseButtons().getButton (2).isEdited());
    EXPECT_TRUE (editor.getPhraseButtons().getButton (2).isPlaying());
    EXPECT_FALSE (editor.getPhraseButtons().getButton (0).isPlaying());
}

TEST (EditorCommands, aRowLightsUpWhileItsNoteSoundsAndTheKeyboardShowsWhatPlays)
{
    PluginHarness host;
    host.setPhrase (0, makePhrase ({ { 1, 0, 3000 } }));
    Cadenzium2AudioProcessorEditor editor (host.processor);

    host.block ({ on (60, 100, 0), on (64, 100, 0), on (67, 100, 0) });
    host.blocks (4);
    editor.refreshFromProcessor();

    EXPECT_TRUE (editor.getRowEditor().getRow (1).isSounding());
    EXPECT_FALSE (editor.getRowEditor().getRow (0).isSounding());
    EXPECT_TRUE (editor.getKeyboard().isShownPlaying (64)); // row 1 plays the second lowest held note
    EXPECT_FALSE (editor.getKeyboard().isShownPlaying (60));
    EXPECT_TRUE (editor.getKeyboard().isShownHeld (60));

    // The transport stops: nothing sounds any more.
    host.playHead.playing = false;
    host.block();
    editor.refreshFromProcessor();
    EXPECT_FALSE (editor.getRowEditor().getRow (1).isSounding());
    EXPECT_FALSE (editor.getKeyboard().isShownPlaying (64));
}

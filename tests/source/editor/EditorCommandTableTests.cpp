// Every command and tool of the window carries its tooltip, and the window follows what the
// processor plays.

#include <source/editor/Cadenzium2AudioProcessorEditor.h>
#include <source/editor/panels/ControlTables.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tests/source/editor/EditorTestHelpers.h>
#include <tests/source/processor/PluginHarness.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

TEST (EditorCommands, everyCommandAndToolOfTheWindowShowsItsTooltip)
{
    Cadenzium2AudioProcessor processor;
    Cadenzium2AudioProcessorEditor editor (processor);

    namespace C = ControlTables::Commands;
    for (const auto* command : { &C::newRow(), &C::undo(), &C::redo(), &C::keyboardPreview(), &C::sidebarToggle(),
                                 &C::importMidi(), &C::renderMidi(), &C::loadV1Preset(), &C::generate(), &C::mutate(),
                                 &C::panic(), &ControlTables::mutationPanelMutate() })
    {
        auto* control = findById (editor, command->componentId);
        ASSERT_NE (control, nullptr) << command->componentId;
        EXPECT_EQ (tooltipOf (*control), juce::String (command->tooltip)) << command->componentId;
        EXPECT_EQ (control->getName(), juce::String (command->name)) << command->componentId;
    }

    // The piano roll's tools and boxes and the rows: each tip starts with the control's name.
    for (const auto& [id, name] : { std::pair { "cursor_tool", "Cursor" }, { "brush_tool", "Brush" }, { "loop_tool", "Loop" },
                                    { "pencil_tool", "Pencil" }, { "length_box", "Length" }, { "time_signature", "Time Signature" },
                                    { "repeat", "Repeat" }, { "row_0", "Row" } })
    {
        auto* control = findById (editor, id);
        ASSERT_NE (control, nullptr) << id;
        EXPECT_TRUE (tooltipOf (*control).startsWith (juce::String (name) + ": ")) << id << ": " << tooltipOf (*control);
    }

    // Resting on the note grid pops nothing up over the notes: the tools' help is on their
    // buttons (above).
    EXPECT_EQ (tooltipOf (*findById (editor, "note_grid")), "");

    // The phrase buttons name their keyswitch, middle C being C3.
    EXPECT_EQ (tooltipOf (*findById (editor, "phrase_1")), "Phrase 1 (C0): Click to switch to phrase and view in editor. Right click for more options");
    EXPECT_EQ (tooltipOf (*findById (editor, "phrase_12")), "Phrase 12 (B0): Click to switch to phrase and view in editor. Right click for more options");
    EXPECT_EQ (editor.getSidebarTabs().getPlaybackTab().getButtonText(), "Playback");
    EXPECT_EQ (editor.getSidebarTabs().getGenerationTab().getButtonText(), "Generate");
}

TEST (EditorCommands, aRowLightsUpWhileItsNoteSoundsTheKeyboardShowsWhatPlaysAndAKeyswitchBringsItsPhrase)
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

    // Keyswitch range 2: note 26 is the key of phrase 3. It comes into the piano roll and its button lights.
    host.block ({ on (26, 100, 0) });
    host.processor.flushAudioThreadNotices();
    editor.refreshFromProcessor();
    EXPECT_EQ (editor.getEditedPhrase(), 2);
    EXPECT_TRUE (editor.getPhraseButtons().getButton (2).isEdited());
    EXPECT_TRUE (editor.getPhraseButtons().getButton (2).isPlaying());
    EXPECT_FALSE (editor.getPhraseButtons().getButton (0).isPlaying());
}

#include "FileCommandsTestSupport.h"

#include <source/editor/overlays/RenderPreviewSequence.h>
#include <tests/source/import/V1TestPresets.h>
#include <tests/support/editor/TestDisplay.h>
#include <tests/support/editor/XdndClient.h>

namespace cadenzium::test
{
namespace
{
    juce::MemoryBlock bytesOf (const juce::File& file)
    {
        juce::MemoryBlock bytes;
        file.loadFileAsData (bytes);
        return bytes;
    }

    /** Loads the factory arpeggio, so the render has a pattern to play. */
    void loadPattern (Cadenzium2AudioProcessor& processor)
    {
        const auto preset = juce::File (CADENZIUM_FACTORY_PRESETS).getChildFile ("Arpeggios/Rising Eighths.bpre");
        ASSERT_TRUE (processor.getPresetManager().loadPresetFile (preset));
    }
} // namespace

TEST_F (FileCommandsTest, aRenderShowsItsNotesInTheOverlayAndSaveMidiWritesItsBytesWhereTheChooserSays)
{
    Cadenzium2AudioProcessor processor;
    loadPattern (processor);
    EditorWindow window (processor);
    auto& editor = editorOf (window);
    auto& command = editor.getFileCommands().getRenderCommand();
    auto& overlay = editor.getFileCommands().getRenderOverlay();

    // The default output name is taken: the chooser offers the next free one.
    const auto chords = copyChords ("Pop Four Chords.mid");
    ASSERT_TRUE (folder().getChildFile ("Pop Four Chords - Cadenzium.mid").replaceWithText ("taken"));

    ASSERT_TRUE (command.render (chords).wasOk());
    EXPECT_FALSE (editor.getToolBar().renderMidi.isEnabled()) << "disabled while rendering";
    EXPECT_FALSE (editor.getToolBar().renderMidi.isInterestedInFileDrag ({ chords.getFullPathName() })) << "and takes no drop";

    ASSERT_TRUE (EditorWindow::pumpUntil ([&] { return overlay.isShowing(); }, 30000));
    EXPECT_TRUE (editor.getToolBar().renderMidi.isEnabled());
    EXPECT_EQ (overlay.getTitleText(), "Export Render");

    const auto* rendered = overlay.getRenderedMidi();
    ASSERT_NE (rendered, nullptr);
    // Every rendered note on the row of its pitch, in whole bars (the preview's own tests pin how).
    const auto& preview = overlay.getPreview().getSequence();
    const auto expected = RenderPreviewSequence::build (rendered->events);
    ASSERT_GT (expected.notes.size(), 20u);
    EXPECT_EQ (preview.notes, expected.notes);
    EXPECT_EQ (preview.getLength(), expected.getLength());

    for (const auto& loop : preview.loops)
        EXPECT_FALSE (loop.isSet());

    window.saveScreenshot ("overlay");

    // Read-only: the gestures that would add or move notes in the editor change nothing here.
    const auto shown = preview;
    auto& grid = overlay.getPreview().getPianoRoll().getNoteEditor();
    window.doubleClick (grid, grid.getLocalBounds().getCentre().toFloat());
    window.drag (grid, { 30.0f, 40.0f }, { 200.0f, 120.0f });
    EXPECT_TRUE (overlay.getPreview().getSequence().notes == shown.notes);
    EXPECT_FALSE (overlay.getPreview().getPianoRoll().getToolBar().isVisible());

    // Save MIDI: the chooser starts at the default output file.
    window.click (EditorWindow::get ("render_save"));
    auto* dialog = findChooser (editor);
    ASSERT_NE (dialog, nullptr);
    EXPECT_EQ (dialog->getTitleText(), "Save rendered MIDI");
    auto* browser = findInside<juce::FileBrowserComponent> (*dialog);
    ASSERT_NE (browser, nullptr);
    EXPECT_EQ (browser->getRoot(), folder());
    const auto target = folder().getChildFile ("Pop Four Chords - Cadenzium2.mid");
    EXPECT_EQ (browser->getSelectedFile (0), target);
    EXPECT_TRUE (browser->isFileSuitable (folder().getChildFile ("x.midi")));
    EXPECT_FALSE (browser->isFileSuitable (folder().getChildFile ("x.txt")));
    window.saveScreenshot ("save chooser");

    auto* save = findButton (*dialog, "Save");
    ASSERT_NE (save, nullptr);
    window.click (*save);
    ASSERT_TRUE (EditorWindow::pumpUntil ([&] { return target.existsAsFile(); }));
    EXPECT_EQ (bytesOf (target), rendered->fileData);

    juce::MidiFile written;
    juce::FileInputStream in (target);
    ASSERT_TRUE (written.readFrom (in));
    EXPECT_EQ (written.getTimeFormat(), 960);

    window.click (EditorWindow::get ("render_close"));
    EXPECT_FALSE (overlay.isShowing());
}

TEST_F (FileCommandsTest, unusableFilesChangeNothingAndSaySoAndASecondRenderWaitsForTheFirst)
{
    Cadenzium2AudioProcessor processor;
    loadPattern (processor);
    EditorWindow window (processor);
    auto& editor = editorOf (window);
    auto& command = editor.getFileCommands().getRenderCommand();

    // A pattern or a first-version preset that is not one changes nothing.
    auto& commands = editor.getFileCommands();
    processor.getPhraseManager().clearUndoHistory();
    const auto phraseBefore = processor.getPhrase (0);

    const auto notMidi = folder().getChildFile ("Broken.mid");
    notMidi.replaceWithText ("MThd but not really");
    EXPECT_TRUE (commands.importMidiPattern (notMidi).failed());
    EXPECT_TRUE (toastTexts (processor).contains ("ERROR: The selected file does not contain any usable MIDI notes."));
    EXPECT_TRUE (processor.getPhrase (0).notes == phraseBefore.notes);
    EXPECT_FALSE (processor.getPhraseManager().canUndo());

    const auto notV1 = folder().getChildFile ("Seven Controllers.bpre");
    notV1.replaceWithText (invalidV1Preset());
    EXPECT_FALSE (commands.loadV1Preset (notV1));
    EXPECT_TRUE (toastTexts (processor).contains ("ERROR: Not a valid Cadenzium v1 preset"));
    EXPECT_NE (processor.getPhraseManager().getRows().size(), 17u);

    processor.getToastManager().takeToasts();
    ASSERT_TRUE (command.render (folder().getChildFile ("missing.mid")).wasOk()) << "the file is checked on the render thread";
    ASSERT_TRUE (EditorWindow::pumpUntil ([&] { return ! command.isRendering(); }, 30000));
    EXPECT_TRUE (toastTexts (processor).contains ("ERROR: The selected MIDI file does not exist."));
    EXPECT_TRUE (editor.getToolBar().renderMidi.isEnabled());

    const auto notNotes = folder().getChildFile ("notes.mid");
    notNotes.replaceWithText ("these are not notes");
    command.render (notNotes);
    ASSERT_TRUE (EditorWindow::pumpUntil ([&] { return ! command.isRendering(); }, 30000));
    EXPECT_TRUE (toastTexts (processor).contains ("ERROR: The selected file does not contain any usable MIDI notes."));
    EXPECT_FALSE (editor.getFileCommands().getRenderOverlay().isShowing());

    ASSERT_TRUE (command.render (copyChords ("Jazz Two Five One.mid")).wasOk());
    EXPECT_TRUE (command.render (copyChords ("Waltz in G.mid")).failed());
    EXPECT_TRUE (toastTexts (processor).contains ("ERROR: Another MIDI file is already being rendered."));
    ASSERT_TRUE (EditorWindow::pumpUntil ([&] { return editor.getFileCommands().getRenderOverlay().isShowing(); }, 30000));
    EXPECT_TRUE (editor.getToolBar().renderMidi.isEnabled());
}

TEST_F (FileCommandsTest, aRenderStillRunningWhenTheWindowClosesIsDroppedQuietly)
{
    Cadenzium2AudioProcessor processor;
    loadPattern (processor);
    const auto toastsBefore = processor.getToastManager().getToasts().size();

    {
        EditorWindow window (processor);
        ASSERT_TRUE (editorOf (window).getFileCommands().getRenderCommand().render (copyChords ("Dorian Vamp.mid")).wasOk());
    }

    EditorWindow::pump (200);
    EXPECT_EQ (processor.getToastManager().getToasts().size(), toastsBefore);

    // The next window renders as before.
    EditorWindow window (processor);
    auto& editor = editorOf (window);
    ASSERT_TRUE (editor.getFileCommands().getRenderCommand().render (copyChords ("Dorian Vamp.mid")).wasOk());
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return editor.getFileCommands().getRenderOverlay().isShowing(); }, 30000));
}

TEST_F (FileCommandsTest, dragMidiOffersTheRenderedFileByItsUriAndSaveAndDragReportMissingDataAndFilesThatCannotBeWritten)
{
    Cadenzium2AudioProcessor processor;
    loadPattern (processor);
    EditorWindow window (processor);
    auto& editor = editorOf (window);
    auto& overlay = editor.getFileCommands().getRenderOverlay();

    overlay.chooseSaveLocation();
    EXPECT_FALSE (overlay.getChooser().isOpen());
    EXPECT_TRUE (toastTexts (processor).contains ("ERROR: There is no rendered MIDI data to save."));

    ASSERT_TRUE (editor.getFileCommands().getRenderCommand().render (copyChords ("Four Chords Per Bar.mid")).wasOk());
    ASSERT_TRUE (EditorWindow::pumpUntil ([&] { return overlay.isShowing(); }, 30000));

    auto& drag = overlay.getDragButton();
    XdndClient fileManager ([] { EditorWindow::pump (5); });
    const auto editorWindow = (unsigned long) (juce::pointer_sized_uint) window.getEditor().getPeer()->getNativeHandle();
    ASSERT_NE (fileManager.getDragSelectionOwner(), editorWindow);

    // Press on the button and pull away, with the real pointer.
    auto& display = *TestDisplay::get();
    const auto start = window.toScreen (drag, drag.getLocalBounds().getCentre().toFloat());
    display.movePointer (start);
    display.pressButton (1, true);
    EditorWindow::pump (50);

    for (int step = 1; step <= 6; ++step)
    {
        display.movePointer (start + juce::Point<int> (step * 4, -step * 3));
        EditorWindow::pump (20);
    }

    ASSERT_TRUE (EditorWindow::pumpUntil ([&] { return drag.isDragging(); }));
    EXPECT_EQ (fileManager.getDragSelectionOwner(), editorWindow) << "the window offers the drag";

    const auto offered = fileManager.convertDragSelection ("text/uri-list");
    const auto file = MidiRenderCommand::getDragFolder (processor).getChildFile ("Cadenzium 2 Render.mid");
    ASSERT_TRUE (offered.has_value());
    EXPECT_EQ (offered->trim(), "file://" + file.getFullPathName().replace (" ", "%20"));
    EXPECT_EQ (juce::URL (offered->trim()).getLocalFile(), file);
    EXPECT_EQ (bytesOf (file), overlay.getRenderedMidi()->fileData);

    display.pressButton (1, false);
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return ! drag.isDragging(); }));

    // Dragging the same render again offers the same file; no second copy is written.
    juce::File again;
    ASSERT_TRUE (overlay.writeDragFile (again).wasOk());
    EXPECT_EQ (again, file);
    EXPECT_EQ (MidiRenderCommand::getDragFolder (processor).getNumberOfChildFiles (juce::File::findFiles), 1);

    // A folder that does not exist takes no saved file; a file where the folder for dragged
    // renders should be stops the drag.
    EXPECT_TRUE (overlay.saveTo (folder().getChildFile ("Gone/Render.mid")).failed());
    EXPECT_TRUE (toastTexts (processor).contains ("ERROR: The rendered MIDI file could not be written."));
    ASSERT_TRUE (file.getParentDirectory().deleteRecursively());
    ASSERT_TRUE (file.getParentDirectory().replaceWithText ("in the way"));
    const auto centre = drag.getLocalBounds().getCentre().toFloat();
    window.drag (drag, centre, centre + juce::Point<float> (30.0f, -20.0f));
    EXPECT_FALSE (drag.isDragging());
    EXPECT_TRUE (toastTexts (processor).contains ("ERROR: The MIDI drag could not be started."));
}

} // namespace cadenzium::test

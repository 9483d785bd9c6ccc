#include "FileCommandsTestSupport.h"

#include <brindlex/UserFolders.h>
#include <tests/source/import/V1TestPresets.h>
#include <tests/source/render/MidiFileBuilder.h>
#include <tests/support/editor/XdndClient.h>

#include <cstdlib>

namespace cadenzium::test
{
namespace
{
    /** A one-track MIDI file with a C major triad struck on each beat of one bar. */
    juce::File writePattern (const juce::File& file)
    {
        MidiFileBuilder builder (480);
        auto& track = builder.addTrack();

        for (int beat = 0; beat < 4; ++beat)
            for (const auto pitch : { 60, 64, 67 })
                MidiFileBuilder::addNote (track, pitch, beat * 480.0, beat * 480.0 + 240.0);

        const auto bytes = builder.build();
        EXPECT_TRUE (file.replaceWithData (bytes.getData(), bytes.getSize()));
        return file;
    }

    /** Points the documents folder at `folder` for the rest of the test. */
    struct DocumentsFolder
    {
        explicit DocumentsFolder (const juce::File& folder)
        {
            folder.createDirectory();
            setenv ("XDG_DOCUMENTS_DIR", folder.getFullPathName().toRawUTF8(), 1);
        }

        ~DocumentsFolder() { unsetenv ("XDG_DOCUMENTS_DIR"); }
    };

    juce::String uriOf (const juce::File& file)
    {
        return juce::URL (file).toString (false);
    }
} // namespace

TEST_F (FileCommandsTest, theChoosersOpenInsideTheWindowWithTheirTitlesPatternsAndStartingFolders)
{
    ASSERT_FALSE (juce::FileChooser::isPlatformDialogAvailable() && tarn::FileChooserLauncher::areDesktopChoosersAllowed());
    const DocumentsFolder documents (folder().getChildFile ("My Documents"));
    const auto pattern = writePattern (folder().getChildFile ("My Documents/Triads.mid"));

    Cadenzium2AudioProcessor processor;
    EditorWindow window (processor);
    auto& editor = editorOf (window);

    struct Expected
    {
        const char* button;
        const char* title;
        juce::File root;
    };

    const auto v1Folder = FileChooserSpecs::v1UserPresetFolder();
    ASSERT_TRUE (v1Folder.createDirectory());

    for (const auto& [button, title, root] : { Expected { "import_midi", "Please select a MIDI file...", folder().getChildFile ("My Documents") },
                                               Expected { "render_midi", "Select a MIDI chord progression...", folder().getChildFile ("My Documents") },
                                               Expected { "load_v1_preset", "Please select a v1 preset...", v1Folder } })
    {
        SCOPED_TRACE (button);
        window.click (EditorWindow::get (button));
        auto* dialog = findChooser (editor);
        ASSERT_NE (dialog, nullptr);
        EXPECT_EQ (dialog->getTitleText(), title);
        auto* browser = findInside<juce::FileBrowserComponent> (*dialog);
        ASSERT_NE (browser, nullptr);
        EXPECT_EQ (browser->getRoot(), root);

        const auto isV1 = juce::String (button) == "load_v1_preset";
        EXPECT_EQ (browser->isFileSuitable (folder().getChildFile ("a.mid")), ! isV1);
        EXPECT_EQ (browser->isFileSuitable (folder().getChildFile ("a.midi")), ! isV1);
        EXPECT_EQ (browser->isFileSuitable (folder().getChildFile ("a.bpre")), isV1);
        EXPECT_FALSE (browser->isFileSuitable (folder().getChildFile ("a.txt")));

        if (! isV1)
            window.saveScreenshot (juce::String (button) + " chooser");

        window.click (*findButton (*dialog, "Cancel"));
        EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return findChooser (editor) == nullptr; }));
    }

    // With the example progressions installed, Render MIDI opens among them.
    const auto progressions = brindlex::UserFolders::getChordProgressionFolder ("Cadenzium 2");
    ASSERT_TRUE (progressions.createDirectory());
    writePattern (progressions.getChildFile ("Pop Four Chords.mid"));
    window.click (EditorWindow::get ("render_midi"));
    ASSERT_NE (findChooser (editor), nullptr);
    EXPECT_EQ (findInside<juce::FileBrowserComponent> (*findChooser (editor))->getRoot(), progressions);
    window.saveScreenshot ("render_midi chooser with examples");
    window.click (*findButton (*findChooser (editor), "Cancel"));
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return findChooser (editor) == nullptr; }));
    progressions.deleteRecursively();

    // Bulk Convert, from the right-click menu of Load v1 Preset: a folder chooser.
    window.rightClick (EditorWindow::get ("load_v1_preset"));
    ASSERT_TRUE (EditorWindow::chooseMenuItem ("Bulk Convert"));
    ASSERT_TRUE (EditorWindow::pumpUntil ([&] { return findChooser (editor) != nullptr; }));
    auto* folderChooser = findChooser (editor);
    EXPECT_EQ (folderChooser->getTitleText(), "Select your version 1 preset folder");
    EXPECT_EQ (findInside<juce::FileBrowserComponent> (*folderChooser)->getRoot(), v1Folder);
    EXPECT_TRUE (editor.getFileCommands().getBulkConvertCommand().getChooser().getOpenRequest().kind == tarn::FileChooserLauncher::Kind::chooseFolder);
    window.click (*findButton (*folderChooser, "Cancel"));
    EXPECT_FALSE (editor.getFileCommands().getBulkConvertCommand().isConverting());

    // A file chosen in the chooser is imported into the edited phrase.
    editor.setEditedPhrase (3);
    window.click (editor.getToolBar().importMidi);
    auto* dialog = findChooser (editor);
    ASSERT_NE (dialog, nullptr);
    findInside<juce::FileBrowserComponent> (*dialog)->setFileName (pattern.getFileName());
    window.click (*findButton (*dialog, "Open"));
    ASSERT_TRUE (EditorWindow::pumpUntil ([&] { return processor.getPhrase (3).notes.size() == 12; }));
    EXPECT_EQ (processor.getPhraseManager().getUndoTooltip(), "Undo: Edit phrase");
    v1Folder.getParentDirectory().getParentDirectory().deleteRecursively();
}

TEST_F (FileCommandsTest, filesDroppedFromAnotherApplicationLightUpTheButtonThatTakesThemAndDoItsCommand)
{
    Cadenzium2AudioProcessor processor;
    EditorWindow window (processor);
    auto& editor = editorOf (window);
    const auto editorWindow = (unsigned long) (juce::pointer_sized_uint) window.getEditor().getPeer()->getNativeHandle();
    XdndClient fileManager ([] { EditorWindow::pump (5); });

    const auto centreOf = [&] (juce::Component& c)
    { return window.toScreen (c, c.getLocalBounds().getCentre().toFloat()); };

    // A MIDI pattern over Import MIDI: the button lights up, and the drop imports it.
    const auto pattern = writePattern (folder().getChildFile ("Dropped Triads.mid"));
    fileManager.enter (editorWindow, { uriOf (pattern) });
    EXPECT_TRUE (fileManager.moveTo (centreOf (editor.getToolBar().importMidi)));
    ASSERT_TRUE (fileManager.serveUntil ([&] { return editor.getToolBar().importMidi.isShowingDropTarget(); }));
    EXPECT_FALSE (editor.getToolBar().renderMidi.isShowingDropTarget());
    window.saveScreenshot ("midi file over import");

    // Moving on to Render MIDI moves the light with it.
    EXPECT_TRUE (fileManager.moveTo (centreOf (editor.getToolBar().renderMidi)));
    ASSERT_TRUE (fileManager.serveUntil ([&] { return editor.getToolBar().renderMidi.isShowingDropTarget(); }));
    EXPECT_FALSE (editor.getToolBar().importMidi.isShowingDropTarget());
    EXPECT_TRUE (fileManager.moveTo (centreOf (editor.getToolBar().importMidi)));
    ASSERT_TRUE (fileManager.serveUntil ([&] { return editor.getToolBar().importMidi.isShowingDropTarget(); }));

    ASSERT_TRUE (fileManager.drop());
    ASSERT_TRUE (EditorWindow::pumpUntil ([&] { return processor.getPhrase (0).notes.size() == 12; }));
    EXPECT_FALSE (editor.getToolBar().importMidi.isShowingDropTarget());
    EXPECT_EQ (processor.getPhraseManager().getUndoTooltip(), "Undo: Edit phrase");

    // The Load v1 Preset button takes first-version presets only.
    EXPECT_FALSE (editor.getToolBar().loadV1Preset.isInterestedInFileDrag ({ pattern.getFullPathName() }));
    EXPECT_FALSE (editor.getToolBar().importMidi.isInterestedInFileDrag ({ folder().getChildFile ("notes.txt").getFullPathName() }));
    const auto v1File = folder().getChildFile ("Old Favourite.bpre");
    ASSERT_TRUE (v1File.replaceWithText (v1Preset()));
    fileManager.enter (editorWindow, { uriOf (v1File) });
    EXPECT_TRUE (fileManager.moveTo (centreOf (editor.getToolBar().loadV1Preset)));
    ASSERT_TRUE (fileManager.serveUntil ([&] { return editor.getToolBar().loadV1Preset.isShowingDropTarget(); }));
    ASSERT_TRUE (fileManager.drop());
    ASSERT_TRUE (EditorWindow::pumpUntil ([&] { return processor.getPhraseManager().getRows().size() == 17; }));
    EXPECT_EQ (processor.getPhrase (0).getLength(), 15360) << "16 steps of a quarter note";

    // A chord progression dropped on Render MIDI renders it.
    fileManager.enter (editorWindow, { uriOf (copyChords ("Waltz in G.mid")) });
    EXPECT_TRUE (fileManager.moveTo (centreOf (editor.getToolBar().renderMidi)));
    ASSERT_TRUE (fileManager.serveUntil ([&] { return editor.getToolBar().renderMidi.isShowingDropTarget(); }));
    ASSERT_TRUE (fileManager.drop());
    ASSERT_TRUE (EditorWindow::pumpUntil ([&] { return editor.getFileCommands().getRenderOverlay().isShowing(); }, 30000));
}

} // namespace cadenzium::test

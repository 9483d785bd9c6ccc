#pragma once

#include <source/commands/EditCommands.h>
#include <source/editor/Cadenzium2AudioProcessorEditor.h>
#include <source/import/BulkPresetImporter.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/gui/files/FileChooserLauncher.h>
#include <tests/source/editor/EditorTestHelpers.h>
#include <tests/source/import/V1TestPresets.h>
#include <tests/support/MidiEvents.h>
#include <tests/support/Phrases.h>
#include <tests/support/TemporaryFolder.h>
#include <tests/support/editor/ProductEditorTest.h>

#include <gtest/gtest.h>

namespace cadenzium::test
{

/** Fresh per-user folders with the factory library installed, and the choosers drawn in the
    window (every machine then has the same ones). */
class LifetimeTest : public ProductEditorTest
{
protected:
    void SetUp() override
    {
        ProductEditorTest::SetUp();
        tarn::FileChooserLauncher::setDesktopChoosersAllowed (false);
        const auto installed = brindlex::BrindlexProcessor::getFactoryPresetFolder (Cadenzium2AudioProcessor::productName);
        installed.deleteRecursively();
        ASSERT_TRUE (juce::File (CADENZIUM_FACTORY_PRESETS).copyDirectoryTo (installed));
    }

    void TearDown() override
    {
        ProductEditorTest::TearDown();
        tarn::FileChooserLauncher::setDesktopChoosersAllowed (true);
    }
};

/** A processor whose first phrase has a note and a controller lane, its window open, and the
    files the file commands need: a chord progression, an unusable v1 preset and a folder of
    v1 presets. The host plays blocks on the test's thread. [message thread] */
class LifetimeScene
{
public:
    LifetimeScene()
    {
        const auto chordExample = juce::File (CADENZIUM_CHORD_EXAMPLES).getChildFile ("Pop Four Chords.mid");
        EXPECT_TRUE (chordExample.copyFileTo (chords));
        EXPECT_TRUE (invalidV1.replaceWithText (invalidV1Preset()));

        EXPECT_TRUE (v1Folder.createDirectory());

        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE (v1Folder.getChildFile ("Preset " + juce::String (i) + ".bpre").replaceWithText (v1Preset()));

        auto phrase = makeSequence ({ makeNote (0, 0, 960) });
        phrase.setLane (controlChange (1, { { 0, 64 } }));
        phrase.normalise();
        EditCommands (*processor).editPhrase (0, phrase);
        processor->getPhraseManager().clearUndoHistory();
        processor->prepareToPlay (sampleRate, blockSize);
        openWindow();
    }

    ~LifetimeScene() { closeWindow(); }

    static constexpr double sampleRate = 48000.0;
    static constexpr int blockSize = 512;

    std::unique_ptr<Cadenzium2AudioProcessor> processor = std::make_unique<Cadenzium2AudioProcessor>();
    std::unique_ptr<EditorWindow> window;
    TemporaryFolder files;
    const juce::File folder { files.string() };
    const juce::File chords = folder.getChildFile ("Pop Four Chords.mid");
    const juce::File invalidV1 = folder.getChildFile ("Broken.bpre");
    const juce::File v1Folder = folder.getChildFile ("Old");

    Cadenzium2AudioProcessorEditor& editor() const { return editorOf (*window); }

    void openWindow()
    {
        window = std::make_unique<EditorWindow> (*processor);
        // The note and the lane show once the editor's timer has read the phrase.
        EditorWindow::pumpUntil ([this] { return editor().getPianoRoll().getDocument().getPhrase().notes.size() == 1; }, 2000);
        EditorWindow::pump (40);
    }

    /** As the host closes it; `thenRun` false: nothing that was posted meanwhile has run yet. */
    void closeWindow (bool thenRun = true)
    {
        // A bulk import held for the test goes on, so that its thread can stop with the window.
        releaseImporter->store (true);
        window.reset();

        if (thenRun)
            EditorWindow::pump (20);
    }

    /** The note grid takes the keys first: the framework closes a menu at once when no
        component of the process has the keyboard focus. */
    void focusGrid()
    {
        auto& grid = editor().getPianoRoll().getNoteEditor();
        window->click (grid, grid.getLocalBounds().toFloat().getBottomRight() - juce::Point<float> (20.0f, 8.0f));
    }

    void click (const juce::String& componentId) { window->click (EditorWindow::get (componentId)); }

    void clickAfterFocus (const juce::String& componentId)
    {
        focusGrid();
        click (componentId);
    }

    void rightClickAfterFocus (juce::Component& target, std::optional<juce::Point<float>> point = {})
    {
        focusGrid();
        window->rightClick (target, point);
    }

    /** Where the phrase's note is in the grid. */
    juce::Point<float> noteCentre() const
    {
        const auto& view = editor().getPianoRoll().getView();
        const auto& rows = view.getRowAxis();
        return { (float) view.getTimeAxis().xOf (480.0), (float) (rows.yOf (0) + rows.rowHeight * 0.5) };
    }

    /** Starts converting the v1 folder, the importer held before its first file until the
        scene ends. */
    void startBulkImportThatWaits()
    {
        auto& command = editor().getFileCommands().getBulkConvertCommand();
        releaseImporter = std::make_shared<std::atomic<bool>> (false);
        ASSERT_TRUE (command.convert (v1Folder));
        auto released = releaseImporter;
        command.getImporter()->beforeEachFile = [released] (int)
        {
            for (int i = 0; i < 2000 && ! released->load(); ++i)
                juce::Thread::sleep (5);
        };
    }

    /** The host holds a chord for a bar and lets it go, then plays on for a bar: every note
        the plug-in started has ended. */
    void playAndExpectNothingHangs()
    {
        NoteCounter counter;
        juce::AudioBuffer<float> audio (2, blockSize);
        const auto barBlocks = (int) (2.0 * sampleRate / blockSize) + 1;

        for (int block = 0; block < 3 * barBlocks; ++block)
        {
            juce::MidiBuffer midi;

            for (auto note : { 60, 64, 67 })
            {
                if (block == 0)
                    midi.addEvent (juce::MidiMessage::noteOn (1, note, (juce::uint8) 100), 0);
                else if (block == barBlocks)
                    midi.addEvent (juce::MidiMessage::noteOff (1, note), 0);
            }

            processor->processBlock (audio, midi);
            counter.add (midi);

            if (block % 16 == 0)
                EditorWindow::pump (1);
        }

        EXPECT_EQ (counter.sounding(), 0) << counter.describeSounding();
    }

private:
    std::shared_ptr<std::atomic<bool>> releaseImporter = std::make_shared<std::atomic<bool>> (false);
};

/** Closes the window with what `open` left open while the processor plays on. With a
    `finish`, opens it again, opens the same and finishes it there, and closes that window while
    playing on too. Last, in a window opened again, opens the same and closes the window with
    the processor deleted right after. */
inline void closeWithItOpenInEveryWay (const std::function<void (LifetimeScene&)>& open, const std::function<void (LifetimeScene&)>& finish = {})
{
    auto s = std::make_unique<LifetimeScene>();
    open (*s);
    s->closeWindow();
    s->playAndExpectNothingHangs();

    if (finish != nullptr)
    {
        s->openWindow();
        open (*s);
        finish (*s);
        s->closeWindow();
        s->playAndExpectNothingHangs();
    }

    s->openWindow();
    open (*s);
    s->closeWindow (false);
    s.reset();
    EditorWindow::pump (100);
}

/** A table row's name as a test's name. */
inline std::string testNameOf (const char* name)
{
    return juce::String (name).retainCharacters ("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789").toStdString();
}

} // namespace cadenzium::test

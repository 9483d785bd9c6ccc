// The manual's pictures: the real editor in a window on a private X server, always in the
// same state (dark theme, scale 1.0, the factory preset "Rising Eighths", C major held), cropped
// to the part each chapter explains and written as PNGs into the folder the manual build
// reads them from. Run by the manual build; each TEST writes one chapter's pictures.

#include <brindlex/BrindlexProcessor.h>
#include <brindlex/UserFolders.h>
#include <brindlex/gui/SettingsModal.h>
#include <source/commands/EditCommands.h>
#include <source/editor/Cadenzium2AudioProcessorEditor.h>
#include <source/editor/filecommands/FileCommands.h>
#include <source/editor/overlays/CadenziumRowPopup.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <source/processor/ParameterIds.h>
#include <tarn/gui/browser/PresetBrowser.h>
#include <tarn/gui/panels/Panel.h>
#include <tarn/gui/pianoroll/PianoRoll.h>
#include <tarn/gui/files/FileChooserLauncher.h>
#include <tests/support/editor/EditorWindow.h>

#include <gtest/gtest.h>

namespace cadenzium::manual
{
using test::EditorWindow;

namespace
{
    const juce::File imagesFolder { CADENZIUM_MANUAL_IMAGES };
    const juce::File factoryLibrary { CADENZIUM_FACTORY_PRESETS };

    /** The picture of an area of a component (in its own coordinates). */
    void writePicture (EditorWindow& window, juce::Component& part, juce::Rectangle<int> localArea, const juce::String& name)
    {
        EditorWindow::pump (150);
        window.waitForPaint();
        const auto image = window.grab();
        const auto origin = window.getScreenArea().getPosition();
        const auto topLeft = window.toScreen (part, localArea.getTopLeft().toFloat()) - origin;
        const auto bottomRight = window.toScreen (part, localArea.getBottomRight().toFloat()) - origin;
        const auto area = juce::Rectangle<int>::leftTopRightBottom (topLeft.x, topLeft.y, bottomRight.x, bottomRight.y)
                              .getIntersection (image.getBounds());
        ASSERT_FALSE (area.isEmpty()) << name;

        const auto file = imagesFolder.getChildFile (name + ".png");
        ASSERT_TRUE (imagesFolder.createDirectory());
        file.deleteFile();
        juce::FileOutputStream out (file);
        ASSERT_TRUE (out.openedOk()) << file.getFullPathName();
        juce::PNGImageFormat png;
        ASSERT_TRUE (png.writeImageToStream (image.getClippedImage (area), out)) << name;
    }

    /** The picture of a component, with `margin` pixels of its surroundings. */
    void writePicture (EditorWindow& window, juce::Component& part, const juce::String& name, int margin = 0)
    {
        writePicture (window, part, part.getLocalBounds().expanded (margin), name);
    }

    /** A dialog's panel: its controls and close button, with the panel's padding and title. */
    void writeDialogPicture (EditorWindow& window, juce::Component& dialog, const juce::String& name)
    {
        juce::Rectangle<int> controls;
        for (auto* child : dialog.getChildren())
            if (child->isVisible())
                controls = controls.isEmpty() ? child->getBounds() : controls.getUnion (child->getBounds());

        writePicture (window, dialog, controls.expanded (24).getIntersection (dialog.getLocalBounds()), name);
    }

    void findPanels (juce::Component& root, std::vector<tarn::Panel*>& panels)
    {
        if (auto* panel = dynamic_cast<tarn::Panel*> (&root))
            panels.push_back (panel);

        for (auto* child : root.getChildren())
            findPanels (*child, panels);
    }

    /** "Modifiers" in the playback sidebar -> "playback-modifiers". */
    void writePanelPictures (EditorWindow& window, juce::Component& sidebar, const juce::String& prefix)
    {
        std::vector<tarn::Panel*> panels;
        findPanels (sidebar, panels);
        ASSERT_FALSE (panels.empty());

        for (auto* panel : panels)
        {
            // Panels low in a tall sidebar are scrolled into view first.
            if (auto* viewport = panel->findParentComponentOfClass<juce::Viewport>())
                viewport->setViewPosition (0, viewport->getViewedComponent()->getLocalPoint (panel, juce::Point<int>()).y);

            writePicture (window, *panel, prefix + "-" + panel->getCaption().toLowerCase().replaceCharacter (' ', '-'));
        }
    }

    /** Dark theme at scale 1.0, the factory library installed, no stored view settings. */
    class ManualScreenshots : public ::testing::Test
    {
    protected:
        static void SetUpTestSuite()
        {
            const auto installed = brindlex::BrindlexProcessor::getFactoryPresetFolder (Cadenzium2AudioProcessor::productName);
            installed.deleteRecursively();
            ASSERT_TRUE (factoryLibrary.copyDirectoryTo (installed));

            brindlex::BrindlexSettings settings (brindlex::UserFolders::getProductFolder (Cadenzium2AudioProcessor::productName)
                                                     .getChildFile ("settings.settings"));
            settings.setValue ("cadenzium_gui_theme", "Dark");
            settings.setValue ("scale", 1.0);
            ASSERT_TRUE (settings.saveNow());

            tarn::FileChooserLauncher::setDesktopChoosersAllowed (false);
        }

        void SetUp() override
        {
            processor.getToastManager().takeToasts();
            ASSERT_TRUE (processor.getPresetManager().loadPresetFile (factoryLibrary.getChildFile ("Arpeggios/Rising Eighths.bpre")));
            processor.prepareToPlay (48000.0, 512);
        }

        /** The host plays: its transport runs at 120 bpm from the song's start, and these
            notes are pressed (or, with `pressed` false, released) in the first block. `blocks`
            blocks of 480 samples at 48 kHz: a bar at 120 bpm is 200 blocks. */
        void play (std::initializer_list<int> notes, int blocks = 1, bool pressed = true)
        {
            processor.setPlayHead (&host);
            juce::AudioBuffer<float> audio (2, blockSize);

            for (int block = 0; block < blocks; ++block)
            {
                juce::MidiBuffer midi;
                if (block == 0)
                    for (auto note : notes)
                        midi.addEvent (pressed ? juce::MidiMessage::noteOn (1, note, (juce::uint8) 100)
                                               : juce::MidiMessage::noteOff (1, note),
                                       0);

                processor.processBlock (audio, midi);
                host.samples += blockSize;
            }
        }

        static constexpr int blockSize = 480, blocksPerBar = 200;

        struct Transport : juce::AudioPlayHead
        {
            juce::Optional<PositionInfo> getPosition() const override
            {
                PositionInfo info;
                info.setIsPlaying (true);
                info.setBpm (120.0);
                info.setTimeSignature (TimeSignature { 4, 4 });
                info.setTimeInSamples (samples);
                info.setPpqPosition ((double) samples / 48000.0 * 2.0);
                return info;
            }

            juce::int64 samples = 0;
        };

        Transport host;
        Cadenzium2AudioProcessor processor;
    };
} // namespace

TEST_F (ManualScreenshots, theWholeWindowAndEachOfItsParts)
{
    // A mod-wheel lane, so the Controllers panel has a line.
    EditCommands commands (processor);
    ControllerType modulation;
    modulation.type = tarn::ControllerLane::controlChange;
    modulation.number = 1;
    ASSERT_TRUE (commands.newController (modulation));
    play ({ 48, 60, 64, 67 }, 30);
    EditorWindow window (processor);
    auto& editor = window.getEditorAs<Cadenzium2AudioProcessorEditor>();

    writePicture (window, editor, "window");
    writePicture (window, editor.getTopBar(), "top-bar");
    writePicture (window, editor.getPhraseButtons(), "phrase-buttons");
    writePicture (window, editor.getToolBar(), "tool-bar");
    writePicture (window, editor.getRowEditor(), "rows");
    writePicture (window, editor.getPianoRoll(), "piano-roll");
    writePicture (window, editor, editor.getRowEditor().getBounds().getUnion (editor.getPianoRoll().getBounds()), "rows-and-piano-roll");
    writePicture (window, editor.getPianoRoll().getToolBar(), "piano-roll-tools", 2);
    writePicture (window, editor, editor.getHeldChordDisplay().getBounds().getUnion (editor.getKeyboard().getBounds()), "keyboard");
    writePicture (window, editor.getSidebarTabs(), "sidebar-tabs");
    writePicture (window, editor.getPlaybackSidebar(), "playback-sidebar");
    writePanelPictures (window, editor.getPlaybackSidebar(), "playback");

    editor.setSidebarView ("generation");
    writePicture (window, editor.getGenerationSidebar(), "generation-sidebar");
    writePanelPictures (window, editor.getGenerationSidebar(), "generation");
}

TEST_F (ManualScreenshots, onePhrasePlaysOverTwoChords)
{
    // The same moment of the phrase in two bars: over C major, then over A minor.
    auto writePlaying = [this] (EditorWindow& window, const juce::String& name)
    {
        auto& editor = window.getEditorAs<Cadenzium2AudioProcessorEditor>();
        const auto grid = editor.getRowEditor().getBounds().getUnion (editor.getPianoRoll().getBounds());
        const auto keys = editor.getKeyboard().getBounds();
        writePicture (window, editor, grid.getUnion (keys).withTop (grid.getY()).withWidth (grid.getRight()), name);
    };

    const int moment = 30; // the second eighth note sounds
    play ({ 60, 64, 67 }, moment);
    {
        EditorWindow window (processor);
        writePlaying (window, "two-chords-c-major");
    }

    play ({}, blocksPerBar - moment - 10);
    play ({ 60, 64, 67 }, 1, false);
    play ({ 57, 60, 64 }, 9 + moment);
    EditorWindow window (processor);
    writePlaying (window, "two-chords-a-minor");
}

TEST_F (ManualScreenshots, theRowsAndTheirPopup)
{
    play ({ 60, 64, 67 });
    EditorWindow window (processor);
    auto& editor = window.getEditorAs<Cadenzium2AudioProcessorEditor>();

    window.rightClick (editor.getRowEditor().getRow (0));
    ASSERT_TRUE (EditorWindow::pumpUntil ([] { return EditorWindow::find ("row_type") != nullptr; }));
    auto* popup = EditorWindow::get ("row_type").findParentComponentOfClass<CadenziumRowPopup>();
    ASSERT_NE (popup, nullptr);
    writePicture (window, *popup, "row-popup", 4);
    editor.getRowEditor().closePopup();

    // The framework closes a menu at once while nothing has the keyboard, and the closed row
    // settings took it with them: whether the window itself still holds the X focus then
    // depends on the X server's timing, so the menu is opened again until it stays.
    for (int attempt = 0; attempt < 3 && ! EditorWindow::isMenuOpen(); ++attempt)
    {
        window.rightClick (EditorWindow::get ("phrase_1"));
        EditorWindow::pumpUntil (EditorWindow::isMenuOpen, 1000);
    }

    ASSERT_TRUE (EditorWindow::isMenuOpen());
    const auto buttons = editor.getPhraseButtons().getBounds();
    writePicture (window, editor, buttons.withWidth (buttons.getWidth() / 2).withHeight (260).expanded (4), "phrase-menu");
    juce::PopupMenu::dismissAllActiveMenus();
    EditorWindow::pump (50);
}

TEST_F (ManualScreenshots, thePianoRollsMenusAndAControllerLane)
{
    // A mod-wheel swell over the bar.
    EditCommands commands (processor);
    ControllerType modulation;
    modulation.type = tarn::ControllerLane::controlChange;
    modulation.number = 1;
    ASSERT_TRUE (commands.newController (modulation));
    auto swell = processor.getPhrase (0);
    ASSERT_EQ (swell.lanes.size(), 1u);
    swell.lanes[0].points = { { 0, 10, 0.5f, 0 }, { 1920, 110, 0.5f, 0 }, { 2880, 60, 0.5f, 0 }, { 3840, 10, 0.5f, 0 } };
    ASSERT_TRUE (commands.editPhrase (0, swell));

    EditorWindow window (processor);
    auto& editor = window.getEditorAs<Cadenzium2AudioProcessorEditor>();
    auto& pianoRoll = editor.getPianoRoll();
    auto& grid = pianoRoll.getNoteEditor();
    const auto& view = pianoRoll.getView();

    window.click (*pianoRoll.getLaneBar().getLaneButton (0));
    writePicture (window, pianoRoll, "controller-lane");

    // The framework closes a menu at once while nothing has the keyboard: the grid takes it.
    window.click (grid, grid.getLocalBounds().getBottomRight().toFloat() - juce::Point<float> (20.0f, 20.0f));
    window.rightClick (*pianoRoll.getLaneBar().getLaneButton (0), juce::Point<float> { 10.0f, 10.0f });
    ASSERT_TRUE (EditorWindow::isMenuOpen());
    writePicture (window, pianoRoll, "lane-menu");
    juce::PopupMenu::dismissAllActiveMenus();
    EditorWindow::pump (50);

    // A note of the phrase, and an empty cell.
    const auto phrase = processor.getPhrase (0);
    ASSERT_FALSE (phrase.notes.empty());
    const auto& note = phrase.notes.front();
    auto pointOf = [&view] (double tick, int row)
    {
        const auto& rows = view.getRowAxis();
        return juce::Point<float> ((float) view.getTimeAxis().xOf (tick), (float) (rows.yOf (row) + rows.rowHeight * 0.5));
    };

    window.rightClick (grid, pointOf (note.timestamp + 10.0, note.number));
    ASSERT_TRUE (EditorWindow::isMenuOpen());
    writePicture (window, pianoRoll, "note-menu");
    juce::PopupMenu::dismissAllActiveMenus();
    EditorWindow::pump (50);
    window.pressKey (juce::KeyPress (juce::KeyPress::escapeKey)); // no selected note in the next picture

    // An empty cell in the first half, so the menu opens inside the picture.
    const auto emptyRow = note.number == 0 ? 1 : 0;
    auto emptyTick = phrase.getLength() / 4.0;
    for (const auto& other : phrase.notes)
        if (other.number == emptyRow && other.timestamp <= emptyTick && emptyTick < other.timestamp + other.length)
            emptyTick = other.timestamp + other.length + 10.0;

    window.rightClick (grid, pointOf (emptyTick, emptyRow));
    ASSERT_TRUE (EditorWindow::isMenuOpen());
    writePicture (window, pianoRoll, "grid-menu");
    juce::PopupMenu::dismissAllActiveMenus();
    EditorWindow::pump (50);
}

TEST_F (ManualScreenshots, thePresetBrowserAndTheDialogs)
{
    EditorWindow window (processor);
    auto& editor = window.getEditorAs<Cadenzium2AudioProcessorEditor>();

    editor.setBrowserShown (true);
    writePicture (window, editor.getPresetBrowser(), "preset-browser");
    editor.setBrowserShown (false);

    editor.showSettingsDialog();
    writeDialogPicture (window, editor.getSettingsDialog(), "settings-dialog");
    editor.getSettingsDialog().setVisible (false);

    editor.showSaveDialog();
    EditorWindow::pump (100);
    juce::Component::unfocusAllComponents(); // no blinking caret in the picture
    writeDialogPicture (window, editor.getSaveDialog(), "save-dialog");
    editor.getSaveDialog().setVisible (false);
}

TEST_F (ManualScreenshots, onePhraseRenderedOverTwoChords)
{
    // One bar of C major, one of A minor.
    juce::MidiMessageSequence chords;
    for (const auto& [bar, pitches] : { std::pair { 0, std::vector { 60, 64, 67 } }, std::pair { 1, std::vector { 57, 60, 64 } } })
        for (auto pitch : pitches)
        {
            chords.addEvent (juce::MidiMessage::noteOn (1, pitch, (juce::uint8) 100), bar * 3840.0);
            chords.addEvent (juce::MidiMessage::noteOff (1, pitch), bar * 3840.0 + 3839.0);
        }
    chords.updateMatchedPairs();
    juce::MidiFile file;
    file.setTicksPerQuarterNote (960);
    file.addTrack (chords);
    const auto chordFile = juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("C then A minor.mid");
    {
        chordFile.deleteFile();
        juce::FileOutputStream out (chordFile);
        ASSERT_TRUE (out.openedOk() && file.writeTo (out));
    }

    EditorWindow window (processor);
    auto& editor = window.getEditorAs<Cadenzium2AudioProcessorEditor>();
    auto& fileCommands = editor.getFileCommands();
    auto& overlay = fileCommands.getRenderOverlay();

    // What the render button does with the file chosen or dropped on it.
    ASSERT_TRUE (fileCommands.getRenderCommand().render (chordFile).wasOk());
    ASSERT_TRUE (EditorWindow::pumpUntil ([&] { return overlay.isShowing() && overlay.getRenderedMidi() != nullptr; }, 60000));
    writeDialogPicture (window, overlay, "render-overlay");
    overlay.setVisible (false);
}
} // namespace cadenzium::manual

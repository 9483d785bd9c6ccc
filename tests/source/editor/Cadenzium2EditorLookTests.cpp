// How the window looks. Each distinct view is kept once as a screenshot to look at
// (build/test-artefacts/screenshots); what can be asserted of it is: its colours, a clean
// layout, controls large enough to hit, and dialogs whole inside the window, twice as large at
// scale 2. Few windows are opened: each size and dialog is shown in the same one.

#include <source/commands/EditCommands.h>
#include <source/editor/Cadenzium2AudioProcessorEditor.h>
#include <source/editor/overlays/CadenziumRowPopup.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/gui/Theme.h>
#include <tarn/gui/panels/ControlLayout.h>
#include <tarn/gui/panels/PanelStack.h>
#include <tests/source/editor/EditorTestHelpers.h>
#include <tests/source/processor/PluginHarness.h>
#include <tests/support/editor/ProductEditorTest.h>
#include <tests/support/editor/TestDisplay.h>
#include <tests/support/editor/XvfbServer.h>
#include <tests/tarn/CapturingLogger.h>

#include <gtest/gtest.h>

#include <set>

namespace cadenzium::test
{
namespace
{
    /** A song a musician might have open: the factory library installed and a preset loaded,
        four rows (so the grid has room to spare), notes of several velocities, a looping row,
        two phrases holding notes, a controller lane, a muted and a locked row, and a chord
        held while the host played until some rows sounded. */
    void makeSong (Cadenzium2AudioProcessor& processor)
    {
        const auto factory = brindlex::BrindlexProcessor::getFactoryPresetFolder ("Cadenzium 2");
        ASSERT_TRUE (processor.getPresetManager().loadPresetFile (factory.getChildFile ("Arpeggios/Rising Eighths.bpre")));
        processor.getToastManager().takeToasts();

        EditCommands commands (processor);
        while (processor.getPhraseManager().getRows().size() > 4)
            commands.deleteRow ((int) processor.getPhraseManager().getRows().size() - 1);

        auto phrase = processor.getPhrase (0);
        phrase.notes.clear();
        for (int slot = 1; slot < 12; ++slot)
            commands.editPhrase (slot, phrase);
        const auto sixteenth = tarn::Ticks::perWhole / 16;
        for (int step = 0; step < 16; ++step)
        {
            tarn::SequenceNote note;
            note.number = step % 4;
            note.timestamp = step * sixteenth;
            note.length = sixteenth * (step % 4 == 0 ? 2 : 1);
            note.velocityMin = 20 + step * 6;
            note.velocityMax = step % 5 == 0 ? 127 : note.velocityMin;
            phrase.notes.push_back (note);
        }
        phrase.loops[2] = { 0, 4 * sixteenth };
        phrase.normalise();
        commands.editPhrase (0, phrase);
        commands.copyPhraseTo (0, 4);
        commands.renamePhrase (0, "Intro");
        commands.renamePhrase (3, "Chorus");
        commands.renamePhrase (4, "Verse");

        ControllerType modulation;
        modulation.type = tarn::ControllerLane::controlChange;
        modulation.number = 1;
        commands.newController (modulation);

        auto muted = processor.getPhraseManager().getRows()[2];
        commands.setRowMuted (2, true);
        commands.setRowGenerationLock (3, true);
        muted.channel = 2;
        muted.colour = (int) 0xff4cbf6a;
        commands.changeRow (2, muted);

        processor.prepareToPlay (48000.0, 256);
        juce::AudioBuffer<float> audio (2, 256);
        juce::MidiBuffer midi;
        for (auto note : { 48, 60, 64, 67 })
            midi.addEvent (juce::MidiMessage::noteOn (1, note, (juce::uint8) 100), 0);
        processor.processBlock (audio, midi);

        SimulatedPlayHead host;
        processor.setPlayHead (&host);
        for (int block = 0; block < 2000 && (block < 200 || processor.getPlaybackDisplay().soundingRows.count() < 2); ++block)
        {
            midi.clear();
            processor.processBlock (audio, midi);
            host.advance (256, 48000.0);
        }
        processor.setPlayHead (nullptr);
    }

    /** What a musician would find amiss, one line each: scroll bars with nothing to scroll or
        not in the theme's colour, and buttons, boxes or sliders on screen smaller than 16
        pixels either way (`clickables` counts those looked at). */
    juce::StringArray findLookProblems (juce::Component& editor, int& clickables)
    {
        juce::StringArray problems;
        const auto thumb = tarn::themeColour (editor, "scrollbar.thumb");
        std::function<void (juce::Component&)> visit = [&] (juce::Component& c)
        {
            if (! c.isShowing())
                return;

            const auto where = c.getComponentID() + " " + c.getName() + " " + c.getBounds().toString();
            if (auto* bar = dynamic_cast<juce::ScrollBar*> (&c))
            {
                if (bar->getCurrentRangeSize() >= bar->getMaximumRangeLimit() - bar->getMinimumRangeLimit())
                    problems.add ("nothing to scroll: " + where);
                if (bar->findColour (juce::ScrollBar::thumbColourId) != thumb)
                    problems.add ("not the theme's thumb: " + where);
            }

            const auto clickable = dynamic_cast<juce::Button*> (&c) != nullptr || dynamic_cast<juce::ComboBox*> (&c) != nullptr
                                || dynamic_cast<juce::Slider*> (&c) != nullptr;
            if (clickable && ! editor.getLocalArea (&c, c.getLocalBounds()).getIntersection (editor.getLocalBounds()).isEmpty())
            {
                ++clickables;
                if (std::min (c.getWidth(), c.getHeight()) < 16)
                    problems.add ("smaller than 16 pixels: " + where);
            }

            for (auto* child : c.getChildren())
                visit (*child);
        };
        visit (editor);
        return problems;
    }

    /** Sidebar panels whose labelled controls do not start in one column, or whose horizontal
        sliders do not share one track; `aligned` counts the controls found in line. */
    juce::StringArray findMisalignedPanels (Cadenzium2AudioProcessorEditor& editor, int& aligned)
    {
        juce::StringArray problems;

        for (auto* stack : { &editor.getPlaybackSidebar().getPanelStack(), &editor.getGenerationSidebar().getPanelStack() })
        {
            if (! stack->isShowing())
                continue;

            for (int index = 0; index < stack->getNumPanels(); ++index)
            {
                auto& panel = stack->getPanel (index);
                std::set<int> controlStarts, trackStarts, trackEnds;
                int controls = 0, tracks = 0;

                for (auto* control : panel.getChildren())
                {
                    auto* layout = dynamic_cast<tarn::ControlLayout*> (control);
                    if (layout == nullptr || layout->getNaturalLabelWidth() == 0 || control->getNumChildComponents() == 0)
                        continue;

                    int first = std::numeric_limits<int>::max();
                    for (auto* part : control->getChildren())
                        first = std::min (first, panel.getLocalPoint (part, juce::Point<int>()).x);
                    controlStarts.insert (first);
                    ++controls;
                }

                std::function<void (juce::Component&)> visit = [&] (juce::Component& c)
                {
                    if (auto* slider = dynamic_cast<juce::Slider*> (&c); slider != nullptr && slider->isHorizontal())
                    {
                        const auto bounds = panel.getLocalArea (slider->getParentComponent(), slider->getBounds());
                        trackStarts.insert (bounds.getX());
                        trackEnds.insert (bounds.getRight());
                        ++tracks;
                    }
                    for (auto* child : c.getChildren())
                        visit (*child);
                };
                visit (panel);

                if (controlStarts.size() > 1 || trackStarts.size() > 1 || trackEnds.size() > 1)
                    problems.add ("panel " + juce::String (index) + ": controls or slider tracks out of line");
                aligned += std::max (0, controls - 1) + std::max (0, tracks - 1);
            }
        }

        return problems;
    }

    /** The layout problems but the rows a list keeps ready below its last one. */
    juce::String layoutProblemsOf (juce::Component& component)
    {
        juce::StringArray problems;

        for (const auto& problem : findLayoutProblems (component))
            if (! (problem.contains ("RowComponent") && problem.contains ("sticks out")))
                problems.add (problem);

        return problems.joinIntoString ("\n");
    }

    /** What a dialog or popup of the window covers, in the screen's physical pixels. */
    juce::Rectangle<float> screenAreaOf (EditorWindow& window, juce::Component& component)
    {
        const auto bounds = component.getLocalBounds().toFloat();
        return { window.toScreen (component, bounds.getTopLeft()).toFloat(), window.toScreen (component, bounds.getBottomRight()).toFloat() };
    }

    /** Each dialog or popup the window shows over itself: how a musician opens it, its
        component ID, and how they close it again. */
    struct Overlay
    {
        const char* name;
        std::function<void (EditorWindow&, Cadenzium2AudioProcessorEditor&)> open;
        const char* shownId;
        std::function<void (EditorWindow&, Cadenzium2AudioProcessorEditor&)> close = [] (EditorWindow& w, auto&)
        { w.click (EditorWindow::get ("modal_close")); };
    };

    const std::vector<Overlay>& overlays()
    {
        static const std::vector<Overlay> list {
            { "settings", [] (EditorWindow& w, auto&) { w.click (EditorWindow::get ("settings")); }, "settings_dialog" },
            { "save", [] (EditorWindow& w, auto&) { w.click (EditorWindow::get ("preset_save")); }, "save_dialog" },
            { "browser",
              [] (EditorWindow& w, auto&)
              {
                  w.click (EditorWindow::get ("preset_browser"));
                  w.click (EditorWindow::get ("category_badge_Arpeggio"));
              },
              "preset_browser_panel", [] (EditorWindow& w, auto&) { w.click (EditorWindow::get ("preset_browser")); } },
            { "row settings", [] (EditorWindow& w, auto& e) { w.click (e.getRowEditor().getRow (1)); }, "row_popup",
              [] (EditorWindow&, auto& e) { e.getRowEditor().closePopup(); } },
            { "import chooser", [] (EditorWindow& w, auto&) { w.click (EditorWindow::get ("import_midi")); }, "file_chooser" },
            { "render chooser", [] (EditorWindow& w, auto&) { w.click (EditorWindow::get ("render_midi")); }, "file_chooser" },
            { "v1 preset chooser", [] (EditorWindow& w, auto&) { w.click (EditorWindow::get ("load_v1_preset")); }, "file_chooser" },
            { "bulk convert chooser",
              [] (EditorWindow& w, auto&)
              {
                  w.rightClick (EditorWindow::get ("load_v1_preset"));
                  EditorWindow::chooseMenuItem ("Bulk Convert");
              },
              "file_chooser" },
            // Started as a chosen or dropped file starts it.
            { "render",
              [] (EditorWindow&, auto& e)
              {
                  const auto chords = juce::File (CADENZIUM_CHORD_EXAMPLES).getChildFile ("Pop Four Chords.mid");
                  EXPECT_TRUE (e.getFileCommands().getRenderCommand().render (chords).wasOk());
              },
              "render_overlay", [] (EditorWindow& w, auto&) { w.click (EditorWindow::get ("render_close")); } },
        };
        return list;
    }

    /** Opens each overlay in turn, checks it, keeps its picture (unless `screenshots` is
        empty) and closes it again; returns the area each covered, by name. */
    std::map<std::string, juce::Rectangle<float>> showEachOverlay (EditorWindow& window, const juce::String& screenshots)
    {
        auto& editor = editorOf (window);
        std::map<std::string, juce::Rectangle<float>> areas;

        for (const auto& overlay : overlays())
        {
            SCOPED_TRACE (overlay.name);
            overlay.open (window, editor);

            if (! EditorWindow::pumpUntil ([&] { return EditorWindow::find (overlay.shownId) != nullptr; }, 30000))
            {
                ADD_FAILURE() << overlay.name << " did not open";
                continue;
            }

            EditorWindow::pump (60);
            auto& shown = EditorWindow::get (overlay.shownId);
            areas[overlay.name] = screenAreaOf (window, shown);
            EXPECT_TRUE (screenAreaOf (window, editor).expanded (0.5f).contains (areas[overlay.name])) << areas[overlay.name].toString();

            if (juce::String (overlay.name) == "browser")
            {
                auto& browser = editor.getPresetBrowser();
                const auto& presets = dynamic_cast<Cadenzium2AudioProcessor&> (*editor.getAudioProcessor()).getPresetManager();
                EXPECT_EQ (browser.getTable().getSelectedRow(), browser.getModel().findVisibleRow (presets.getCurrentPreset()))
                    << "the loaded preset is picked";
                EXPECT_EQ (layoutProblemsOf (browser), "");
            }
            else if (juce::String (overlay.name) == "render")
            {
                EXPECT_EQ (shown.getBounds(), editor.getLocalBounds());
                EXPECT_EQ (layoutProblemsOf (shown), "");
            }

            if (screenshots.isNotEmpty())
                window.saveScreenshot (screenshots + " " + overlay.name);

            overlay.close (window, editor);
            EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return EditorWindow::find (overlay.shownId) == nullptr; })) << overlay.name << " stayed open";
        }

        return areas;
    }

    /** With the factory library installed, as the browser's view needs it. */
    class Cadenzium2EditorLook : public ProductEditorTest
    {
    protected:
        void SetUp() override
        {
            ProductEditorTest::SetUp();
            ASSERT_TRUE (juce::File (CADENZIUM_FACTORY_PRESETS).copyDirectoryTo (brindlex::BrindlexProcessor::getFactoryPresetFolder ("Cadenzium 2")));
        }
    };
} // namespace

TEST_F (Cadenzium2EditorLook, eachSchemeSizeAndScaleLaysOutCleanlyWithItsDialogsInside)
{
    struct Case
    {
        const char* scheme;
        double scale;
        juce::uint32 panel, background;
        std::vector<juce::Point<int>> sizes; // the last is where the dialogs are shown
    };

    const std::vector<juce::Point<int>> defaultLargestSmallest { { 1244, 935 }, { 2000, 1500 }, { 1000, 800 } };
    const Case cases[] = {
        { "Dark", 1.0, 0xff181818, 0xff111111, defaultLargestSmallest },
        { "Light", 1.0, 0xffefefef, 0xffe1e1e1, defaultLargestSmallest },
        { "Classic", 1.0, 0xff32363a, 0xff141516, defaultLargestSmallest },
        // The corners of the resize limits; the dialogs' size is compared with the Dark ones'.
        { "Dark", 2.0, 0xff181818, 0xff111111, { { 2000, 1500 }, { 2000, 800 }, { 1000, 1500 }, { 1000, 800 } } },
    };
    std::map<std::string, juce::Rectangle<float>> areasAtScaleOne;

    for (const auto& c : cases)
    {
        const auto name = juce::String (c.scheme) + (c.scale == 1.0 ? "" : " scale2");
        SCOPED_TRACE (name);
        writeSetting (Cadenzium2AudioProcessorEditor::themeSettingKey, c.scheme);
        writeSetting ("scale", c.scale);
        Cadenzium2AudioProcessor processor;
        makeSong (processor);
        processor.setEditorSetting ("editor_window_width", c.sizes.front().x);
        processor.setEditorSetting ("editor_window_height", c.sizes.front().y);

        // Whatever the window asks its theme for is there: opening it logs nothing (the song's
        // own announcements delivered first).
        EditorWindow::pump (50);
        CapturingLogger log;
        TestDisplay::get()->movePointer ({ XvfbServer::screenWidth - 1, XvfbServer::screenHeight - 1 }); // no tooltip in the pictures
        EditorWindow window (processor);
        auto& editor = editorOf (window);
        EditorWindow::pump (50);
        EXPECT_EQ (log.lines.joinIntoString ("\n"), "");

        // The top bar between its name and the preset box, and the gap between the rows
        // column and the piano roll.
        EXPECT_EQ (window.pixelAt (editor, { 300.0f, 10.0f }), juce::Colour (c.panel));
        EXPECT_EQ (window.pixelAt (editor, { 190.0f, 500.0f }), juce::Colour (c.background));

        if (juce::String (c.scheme) == "Classic")
        {
            window.click (EditorWindow::get ("lane_0")); // the lane's curve tools show, and are checked too
            ASSERT_TRUE (EditorWindow::get ("curve_pencil_tool").isShowing());
        }

        for (const auto size : c.sizes)
        {
            const auto where = name + " " + juce::String (size.x) + "x" + juce::String (size.y);
            SCOPED_TRACE (where);
            editor.setSize (size.x, size.y);
            EXPECT_EQ (window.getScreenArea().getWidth(), juce::roundToInt (c.scale * size.x));
            EXPECT_EQ (window.getScreenArea().getHeight(), juce::roundToInt (c.scale * size.y));

            // The rows reach the grid's foot; the tabs stand on the sidebar they open.
            const auto& axis = editor.getPianoRoll().getRowAxis();
            EXPECT_NEAR (axis.yOf (0) + axis.rowHeight, editor.getPianoRoll().getGridBounds().getHeight(), 1.0);
            auto& tabs = editor.getSidebarTabs();
            EXPECT_EQ (editor.getLocalArea (&tabs, tabs.getPlaybackTab().getBounds()).getBottom(), tabs.getBottom());

            for (int slot = 0; slot < 12; ++slot)
                EXPECT_EQ (editor.getPhraseButtons().getButton (slot).holdsNotes(), slot == 0 || slot == 4) << "phrase " << slot + 1;

            // Keys large enough to hit, the middle of the range (and the held chord) in view,
            // the chord's name beside them.
            auto& keyboard = editor.getKeyboard();
            auto& chord = editor.getHeldChordDisplay();
            EXPECT_GE (keyboard.getKeyWidth(), 16.0f);
            EXPECT_LE (keyboard.getLowestVisibleKey(), 48);
            EXPECT_GE (keyboard.getHighestFullyVisibleKey(), 72);
            EXPECT_EQ (chord.getY(), keyboard.getY());
            EXPECT_LT (chord.getRight(), keyboard.getX());

            for (const auto* view : { "playback", "generation" })
            {
                SCOPED_TRACE (view);
                editor.setSidebarView (view);
                EditorWindow::pump (20);
                EXPECT_EQ (findLayoutProblems (editor).joinIntoString ("\n"), "");

                int aligned = 0, clickables = 0;
                EXPECT_EQ (findLookProblems (editor, clickables).joinIntoString ("\n"), "");
                EXPECT_GT (clickables, 50);
                EXPECT_EQ (findMisalignedPanels (editor, aligned).joinIntoString ("\n"), "");
                EXPECT_GE (aligned, 3) << "the test saw panels with several controls to line up";

                // Scale 2 is the layout of scale 1, larger: kept once per new shape, and at the
                // smallest size for the finer drawing.
                if (c.scale == 1.0 || (juce::String (view) == "generation" && size != juce::Point<int> (2000, 1500)))
                    window.saveScreenshot (where + " " + view);
            }
        }

        editor.setSidebarView ("playback");
        const auto areas = showEachOverlay (window, c.scale == 1.0 ? name : juce::String());

        if (c.scale == 1.0 && areasAtScaleOne.empty())
            areasAtScaleOne = areas;

        if (c.scale == 2.0)
        {
            for (const auto& [overlay, area] : areasAtScaleOne)
            {
                ASSERT_EQ (areas.count (overlay), 1u) << overlay;
                EXPECT_NEAR (areas.at (overlay).getWidth(), 2.0f * area.getWidth(), 4.0f) << overlay;
                EXPECT_NEAR (areas.at (overlay).getHeight(), 2.0f * area.getHeight(), 4.0f) << overlay;
            }

            // Points are in editor pixels whatever the scale, for either kind of input.
            window.click (EditorWindow::get ("sidebar_toggle"));
            EXPECT_FALSE (editor.getPlaybackSidebar().isVisible());
            window.xClick (EditorWindow::get ("sidebar_toggle"));
            EXPECT_TRUE (editor.getPlaybackSidebar().isVisible());
        }
    }
}

TEST_F (Cadenzium2EditorLook, theKeysFollowTheChordTooltipsStayInsideAndToastsClearTheKeys)
{
    Cadenzium2AudioProcessor processor;
    makeSong (processor);
    EditorWindow window (processor);
    auto& editor = editorOf (window);
    auto& keyboard = editor.getKeyboard();
    auto& chord = editor.getHeldChordDisplay();

    const auto hold = [&] (std::initializer_list<int> notes, bool on)
    {
        juce::AudioBuffer<float> audio (2, 256);
        juce::MidiBuffer midi;
        for (auto note : notes)
            midi.addEvent (on ? juce::MidiMessage::noteOn (1, note, (juce::uint8) 100) : juce::MidiMessage::noteOff (1, note), 0);
        processor.processBlock (audio, midi);
    };

    editor.setSize (1000, 800);
    hold ({ 48, 60, 64, 67 }, false);
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return chord.getChordName().isEmpty(); }));

    // The wheel scrolls the keys, and they stay where it left them.
    const auto before = keyboard.getLowestVisibleKey();
    window.wheel (keyboard, 0.2f);
    const auto scrolled = keyboard.getLowestVisibleKey();
    EXPECT_NE (scrolled, before);
    EditorWindow::pump (100);
    EXPECT_EQ (keyboard.getLowestVisibleKey(), scrolled);

    // A chord high up comes into view by itself, and is named; so does one low down.
    hold ({ 100, 104, 107, 110 }, true);
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return keyboard.isShownHeld (110) && chord.getChordName() == "E7"; })) << chord.getChordName();
    EXPECT_LE (keyboard.getLowestVisibleKey(), 100);
    EXPECT_GE (keyboard.getHighestFullyVisibleKey(), 110);
    window.saveScreenshot ("high chord");

    hold ({ 100, 104, 107, 110 }, false);
    hold ({ 36, 43 }, true); // above the keyswitch octave, C0 .. B0
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return keyboard.isShownHeld (36) && chord.getChordName() == "C5"; })) << chord.getChordName();
    EXPECT_LE (keyboard.getLowestVisibleKey(), 36);
    EXPECT_GE (keyboard.getHighestFullyVisibleKey(), 43);
    window.saveScreenshot ("low chord");

    // A phrase button at the left edge and the mutation panel's longest tip at the right.
    editor.setSize (1244, 935);
    editor.setSidebarView ("generation");
    for (const auto* id : { "phrase_1", "m_pitch" })
    {
        auto* control = findById (editor, id);
        ASSERT_NE (control, nullptr) << id;
        if (auto* viewport = control->findParentComponentOfClass<juce::Viewport>())
            viewport->setViewPosition (0, viewport->getViewedComponent()->getLocalPoint (control, juce::Point<int>()).y - 20);
        EditorWindow::pump (20);

        window.xMove (*control);
        ASSERT_TRUE (EditorWindow::pumpUntil ([] { return EditorWindow::find ("tooltip") != nullptr; }, 3000)) << id;
        EditorWindow::pump (50);
        window.saveScreenshot (juce::String ("tooltip-") + id);

        auto& tip = EditorWindow::get ("tooltip");
        EXPECT_TRUE (editor.getScreenBounds().contains (tip.getScreenBounds())) << id << " " << tip.getScreenBounds().toString();
        window.xMove (editor, juce::Point<float> (600.0f, 20.0f));
        EditorWindow::pumpUntil ([] { return EditorWindow::find ("tooltip") == nullptr; }, 2000);
    }

    // Without the sidebar and the keyboard the piano roll takes their place.
    editor.setSidebarView ("playback");
    const auto withBoth = editor.getPianoRoll().getBounds();
    window.click (EditorWindow::get ("sidebar_toggle"));
    window.click (EditorWindow::get ("keyboard_preview"));
    editor.setEditedPhrase (3); // "Chorus" is edited while "Intro" plays
    window.saveScreenshot ("bare");
    EXPECT_GT (editor.getPianoRoll().getWidth(), withBoth.getWidth() + 200);
    EXPECT_GT (editor.getPianoRoll().getHeight(), withBoth.getHeight() + 50);
    EXPECT_EQ (findLayoutProblems (editor).joinIntoString ("\n"), "");

    // Toasts on a plate above the keys, repeats merged.
    window.click (EditorWindow::get ("sidebar_toggle"));
    window.click (EditorWindow::get ("keyboard_preview"));
    for (const auto* text : { "Preset saved", "Not a valid Cadenzium v1 preset", "Preset saved" })
        processor.getToastManager().addToast (text, tarn::Toast::information);
    EditorWindow::pump (100);

    const auto shown = editor.getToastDisplay().getToastComponents();
    ASSERT_EQ (shown.size(), 2u);
    EXPECT_EQ (shown[1]->getShownText(), juce::String::fromUTF8 ("Preset saved  \xc3\x97") + "2");
    for (auto* toast : shown)
        EXPECT_LE (toast->getScreenBounds().getBottom(), keyboard.getScreenBounds().getY()) << toast->getShownText();
    window.saveScreenshot ("toasts");
}
} // namespace cadenzium::test

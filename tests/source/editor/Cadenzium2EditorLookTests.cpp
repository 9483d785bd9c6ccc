// How the window looks: screenshots kept as artefacts (look at them), and the layout checked
// at the corners of the resize limits at both scales.

#include <source/commands/EditCommands.h>
#include <source/editor/Cadenzium2AudioProcessorEditor.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/gui/Theme.h>
#include <tests/source/editor/EditorTestHelpers.h>
#include <tests/source/processor/PluginHarness.h>
#include <tests/support/editor/ProductEditorTest.h>
#include <tests/tarn/CapturingLogger.h>

#include <gtest/gtest.h>

namespace cadenzium::test
{
namespace
{
    /** A song a musician might have open: more rows, named phrases, a generated phrase and a
        controller lane, with a chord held. */
    void makeSong (Cadenzium2AudioProcessor& processor)
    {
        EditCommands commands (processor);
        commands.newRows (4);
        commands.renamePhrase (0, "Intro");
        commands.renamePhrase (3, "Chorus");
        commands.generatePhrase (0, consts::RegenerationMode::phrase);
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

        // The host plays the phrase until some of its rows sound, so rows and keys light up
        // and the play head shows where it stopped.
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

    /** Scroll bars that show with nothing to scroll, or in another colour than the theme's
        thumb, one line each. */
    juce::StringArray findIdleOrUnthemedScrollBars (juce::Component& root)
    {
        juce::StringArray problems;
        const auto thumb = tarn::themeColour (root, "scrollbar.thumb");
        std::function<void (juce::Component&)> visit = [&] (juce::Component& component)
        {
            if (! component.isVisible())
                return;

            if (auto* bar = dynamic_cast<juce::ScrollBar*> (&component))
            {
                const auto where = bar->getParentComponent()->getComponentID() + " " + bar->getBounds().toString();
                if (bar->getCurrentRangeSize() >= bar->getMaximumRangeLimit() - bar->getMinimumRangeLimit())
                    problems.add ("nothing to scroll: " + where);
                if (bar->findColour (juce::ScrollBar::thumbColourId) != thumb)
                    problems.add ("not the theme's thumb: " + where);
            }

            for (auto* child : component.getChildren())
                visit (*child);
        };
        visit (root);
        return problems;
    }

    using Cadenzium2EditorLook = ProductEditorTest;
} // namespace

TEST_F (Cadenzium2EditorLook, eachSchemeOpensInItsColoursWithBothSidebarsAndLogsNothing)
{
    struct Scheme
    {
        const char* name;
        juce::uint32 panel, background;
    };

    for (const auto& scheme : { Scheme { "Dark", 0xff181818, 0xff111111 }, Scheme { "Light", 0xffefefef, 0xffe1e1e1 },
                                Scheme { "Classic", 0xff32363a, 0xff141516 } })
    {
        writeSetting ("cadenzium_gui_theme", scheme.name);
        Cadenzium2AudioProcessor processor;
        processor.getToastManager().takeToasts();
        makeSong (processor);

        // Whatever the window asks its theme for is there: opening it logs nothing (the song's
        // own announcements delivered first).
        EditorWindow::pump (50);
        CapturingLogger log;
        EditorWindow window (processor);
        auto& editor = editorOf (window);
        EditorWindow::pump (100);
        EXPECT_EQ (log.lines.joinIntoString ("\n"), "") << scheme.name;

        // The top bar between its name and the preset box, and the gap between the rows
        // column and the piano roll.
        EXPECT_EQ (window.pixelAt (editor, { 300.0f, 10.0f }), juce::Colour (scheme.panel)) << scheme.name;
        EXPECT_EQ (window.pixelAt (editor, { 190.0f, 500.0f }), juce::Colour (scheme.background)) << scheme.name;
        const juce::String name (scheme.name);
        window.saveScreenshot (name + "-playback");

        editor.setSidebarView ("generation");
        EditorWindow::pump (100);
        window.saveScreenshot (name + "-generation");

        EXPECT_EQ (findLayoutProblems (editor).joinIntoString ("\n"), "") << name;
        EXPECT_EQ (findIdleOrUnthemedScrollBars (editor).joinIntoString ("\n"), "") << name;
    }
}

TEST_F (Cadenzium2EditorLook, toastsStandClearOfTheKeyboardOnAPlateAndRepeatsMerge)
{
    Cadenzium2AudioProcessor processor;
    processor.getToastManager().takeToasts();
    makeSong (processor);
    EditorWindow window (processor);
    auto& editor = editorOf (window);

    for (const auto* text : { "Preset saved", "Not a valid Cadenzium v1 preset", "Preset saved" })
        processor.getToastManager().addToast (text, tarn::Toast::information);
    EditorWindow::pump (100);

    const auto shown = editor.getToastDisplay().getToastComponents();
    ASSERT_EQ (shown.size(), 2u);
    EXPECT_EQ (shown[1]->getShownText(), juce::String::fromUTF8 ("Preset saved  \xc3\x97") + "2");

    const auto keys = editor.getKeyboard().getScreenBounds();
    for (auto* toast : shown)
        EXPECT_LE (toast->getScreenBounds().getBottom(), keys.getY()) << toast->getShownText();
    window.saveScreenshot ("toasts");
}

TEST_F (Cadenzium2EditorLook, withoutTheSidebarAndTheKeyboardThePianoRollTakesTheirPlace)
{
    Cadenzium2AudioProcessor processor;
    processor.getToastManager().takeToasts();
    makeSong (processor);
    EditorWindow window (processor);
    auto& editor = editorOf (window);
    const auto before = editor.getPianoRoll().getBounds();

    window.click (EditorWindow::get ("sidebar_toggle"));
    window.click (EditorWindow::get ("keyboard_preview"));
    editor.setEditedPhrase (3); // "Chorus" is edited while "Intro" plays
    EditorWindow::pump (100);
    window.saveScreenshot ("bare");

    const auto after = editor.getPianoRoll().getBounds();
    EXPECT_GT (after.getWidth(), before.getWidth() + 200);
    EXPECT_GT (after.getHeight(), before.getHeight() + 50);
    EXPECT_EQ (findLayoutProblems (editor).joinIntoString ("\n"), "");
}

TEST_F (Cadenzium2EditorLook, theCornersOfTheResizeLimitsAtScaleTwo)
{
    writeSetting ("scale", 2.0);

    for (const auto size : { juce::Point<int> (1000, 800), juce::Point<int> (2000, 800), juce::Point<int> (1000, 1500), juce::Point<int> (2000, 1500) })
    {
        Cadenzium2AudioProcessor processor;
        processor.getToastManager().takeToasts();
        makeSong (processor);
        processor.setEditorSetting ("editor_window_width", size.x);
        processor.setEditorSetting ("editor_window_height", size.y);

        EditorWindow window (processor);
        auto& editor = editorOf (window);
        EXPECT_EQ (window.getScreenArea().getWidth(), 2 * size.x);
        EXPECT_EQ (window.getScreenArea().getHeight(), 2 * size.y);

        for (const auto* sidebar : { "playback", "generation" })
        {
            editor.setSidebarView (sidebar);
            EXPECT_EQ (findLayoutProblems (editor).joinIntoString ("\n"), "") << size.toString() << " " << sidebar;
        }

        // Each corner is kept to look at, with the generation sidebar (the taller one).
        EditorWindow::pump (100);
        window.saveScreenshot ("scale2-" + juce::String (size.x) + "x" + juce::String (size.y));
    }
}

TEST_F (Cadenzium2EditorLook, longTooltipsStayInsideTheWindow)
{
    Cadenzium2AudioProcessor processor;
    processor.getToastManager().takeToasts();
    EditorWindow window (processor);
    auto& editor = editorOf (window);
    editor.setSidebarView ("generation");

    // A phrase button at the left edge and the mutation panel's longest tip at the right.
    for (const auto* id : { "phrase_1", "m_pitch" })
    {
        auto* control = findById (editor, id);
        ASSERT_NE (control, nullptr) << id;
        if (auto* viewport = control->findParentComponentOfClass<juce::Viewport>())
            viewport->setViewPosition (0, viewport->getViewedComponent()->getLocalPoint (control, juce::Point<int>()).y - 20);
        EditorWindow::pump (50);

        window.xMove (*control);
        ASSERT_TRUE (EditorWindow::pumpUntil ([]
                                              { return EditorWindow::find ("tooltip") != nullptr; },
                                              3000))
            << id;
        EditorWindow::pump (100);
        window.saveScreenshot (juce::String ("tooltip-") + id);

        auto& tip = EditorWindow::get ("tooltip");
        EXPECT_TRUE (editor.getScreenBounds().contains (tip.getScreenBounds())) << id << " " << tip.getScreenBounds().toString();
        window.xMove (editor, juce::Point<float> (600.0f, 20.0f));
        EditorWindow::pumpUntil ([]
                                 { return EditorWindow::find ("tooltip") == nullptr; },
                                 2000);
    }
}
} // namespace cadenzium::test

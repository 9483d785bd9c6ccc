#include <source/editor/Cadenzium2AudioProcessorEditor.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/gui/ThemeSelector.h>
#include <tests/source/editor/EditorTestHelpers.h>
#include <tests/support/AllocationCounter.h>
#include <tests/support/editor/ProductEditorTest.h>

#include <gtest/gtest.h>
#include <malloc.h>
#include <thread>

namespace cadenzium::test
{
using Cadenzium2EditorTest = ProductEditorTest;

TEST_F (Cadenzium2EditorTest, theStoredScaleSizesTheWindowAndNonsenseScalesOpenAtOne)
{
    const std::pair<juce::var, float> cases[] = {
        { 2.0, 2.0f }, { 0.9, 0.9f }, { 0.5, 0.5f }, { 0.0, 1.0f }, { "abc", 1.0f }, { -1.0, 1.0f }, { 50.0, 1.0f }
    };

    for (const auto& [stored, expected] : cases)
    {
        SCOPED_TRACE (stored.toString());
        writeSetting ("scale", stored);

        Cadenzium2AudioProcessor processor;
        EditorWindow window (processor);

        EXPECT_FLOAT_EQ (editorOf (window).getEffectiveScale(), expected);
        EXPECT_EQ (window.getScreenArea().getWidth(), juce::roundToInt (1244.0f * expected));
        EXPECT_EQ (window.getScreenArea().getHeight(), juce::roundToInt (935.0f * expected));

        if (expected == 0.9f)
        {
            // A scale that is no item of the settings' list: none is selected, and it still scales.
            window.click (EditorWindow::get ("settings"));
            EXPECT_EQ (EditorWindow::get<juce::ComboBox> ("settings_scale").getSelectedId(), 0);
        }

        if (expected == 2.0f)
        {
            // Points are in editor pixels whatever the scale, for either kind of input.
            window.saveScreenshot ("scale2");
            window.click (EditorWindow::get ("sidebar_toggle"));
            EXPECT_FALSE (editorOf (window).getPlaybackSidebar().isVisible());
            window.xClick (EditorWindow::get ("sidebar_toggle"));
            EXPECT_TRUE (editorOf (window).getPlaybackSidebar().isVisible());
        }
    }
}

TEST_F (Cadenzium2EditorTest, theHostsScaleMultipliesTheUsersAndANonPositiveOneKeepsTheLast)
{
    writeSetting ("scale", 1.25);
    Cadenzium2AudioProcessor processor;
    EditorWindow window (processor, 1.5f);
    auto& editor = editorOf (window);

    EXPECT_FLOAT_EQ (editor.getEffectiveScale(), 1.875f);
    EXPECT_NEAR (window.getScreenArea().getWidth(), 1244 * 1.875f, 1.0f);

    window.setHostScaleFactor (0.0f);
    EXPECT_FLOAT_EQ (editor.getHostScale(), 1.5f);
    window.setHostScaleFactor (-2.0f);
    EXPECT_FLOAT_EQ (editor.getEffectiveScale(), 1.875f);

    window.setHostScaleFactor (1.0f);
    EXPECT_EQ (window.getScreenArea().getWidth(), juce::roundToInt (1244 * 1.25f));
}

TEST_F (Cadenzium2EditorTest, aStoredSizeAndACornerDragBeyondTheLimitsStopAtThem)
{
    // Sizes within the limits: the look tests open at each corner, the scenario drags one.
    Cadenzium2AudioProcessor processor;
    processor.setEditorSetting ("editor_window_width", 100000);
    processor.setEditorSetting ("editor_window_height", 20);
    processor.setEditorSetting ("sidebar_view", "mixer");

    EditorWindow window (processor);
    EXPECT_EQ (window.getScreenArea().getWidth(), 2000);
    EXPECT_EQ (window.getScreenArea().getHeight(), 800);
    EXPECT_TRUE (editorOf (window).getPlaybackSidebar().isVisible()) << "an unknown sidebar opens as the playback one";

    auto* corner = findResizeCorner (editorOf (window));
    ASSERT_NE (corner, nullptr);
    const auto grip = corner->getLocalBounds().toFloat().getBottomRight() - juce::Point<float> (2.0f, 2.0f);
    window.drag (*corner, grip, grip + juce::Point<float> (-2000.0f, 1000.0f));
    EXPECT_EQ ((int) processor.getEditorSettings()["editor_window_width"], 1000);
    EXPECT_EQ ((int) processor.getEditorSettings()["editor_window_height"], 1500);
}

TEST_F (Cadenzium2EditorTest, aSettingsChangeByAnotherInstanceReachesTheOpenEditorAndItsSettingsDialogWithinASecond)
{
    Cadenzium2AudioProcessor processor;
    EditorWindow window (processor);
    auto& editor = editorOf (window);
    ASSERT_EQ (tarn::ThemeSelector::getInstance()->getColourSchemeNumber(), 4);
    window.click (EditorWindow::get ("settings"));
    auto& scaleBox = EditorWindow::get<juce::ComboBox> ("settings_scale");
    ASSERT_EQ (scaleBox.getSelectedId(), 3);

    // Only choices that change something: the window's own schemes, not the maker's theme.
    EXPECT_EQ (EditorWindow::find ("settings_theme"), nullptr);
    EXPECT_NE (EditorWindow::find ("settings_cadenzium_gui_theme"), nullptr);

    writeSetting ("scale", 1.5);
    writeSetting ("cadenzium_gui_theme", "Light");

    EXPECT_TRUE (EditorWindow::pumpUntil ([&]
                                          { return juce::approximatelyEqual (editor.getEffectiveScale(), 1.5f); },
                                          1800));
    EXPECT_EQ (tarn::ThemeSelector::getInstance()->getColourSchemeNumber(), 5);
    EXPECT_EQ (window.getScreenArea().getWidth(), 1866);
    EXPECT_EQ (scaleBox.getSelectedId(), 5) << "the open settings dialog shows the new scale";
}

TEST_F (Cadenzium2EditorTest, controlsLeaveTheKeyboardToTheHost)
{
    Cadenzium2AudioProcessor processor;
    EditorWindow window (processor);

    for (const auto* id : { "preset_next", "preset_previous", "preset_browser", "bypass", "bypass" })
        window.xClick (EditorWindow::get (id));

    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return ! window.windowHasKeyboardFocus(); }));
    EXPECT_EQ (juce::Component::getCurrentlyFocusedComponent(), nullptr);
}

TEST_F (Cadenzium2EditorTest, openingAndClosingFiftyTimesWhileTheHostPlaysAndSwitchesPhrasesLeaksNothingAndLeavesTheAudioThreadAlone)
{
    Cadenzium2AudioProcessor processor;
    processor.prepareToPlay (48000.0, 256);

    // The host's audio thread holds a chord and presses a keyswitch of the default octave
    // (C0, notes 24..35; never the first phrase's) every few blocks, so each window gets
    // switches to follow while it opens, edits and closes.
    std::atomic<bool> running { true };
    std::atomic<int> blocks { 0 }, switches { 0 };
    std::atomic<std::size_t> audioAllocations { 0 };

    std::thread audio ([&]
                       {
                           juce::AudioBuffer<float> buffer (2, 256);
                           juce::MidiBuffer midi;
                           midi.ensureSize (4096);

                           for (int block = 0; running; ++block)
                           {
                               midi.clear();
                               buffer.clear();
                               if (block == 0)
                                   for (auto note : { 60, 64, 67 })
                                       midi.addEvent (juce::MidiMessage::noteOn (1, note, (juce::uint8) 100), 0);
                               if (block % 8 == 4)
                               {
                                   const auto key = 25 + (block / 8) % 11;
                                   midi.addEvent (juce::MidiMessage::noteOn (1, key, (juce::uint8) 100), 0);
                                   midi.addEvent (juce::MidiMessage::noteOff (1, key), 128);
                                   switches.fetch_add (1);
                               }

                               ScopedAllocationCounter counter;
                               processor.processBlock (buffer, midi);

                               if (blocks++ > 4)
                                   audioAllocations += counter.count();
                               std::this_thread::sleep_for (std::chrono::microseconds (200));
                           }
                       });

    const auto baselineWindows = juce::Desktop::getInstance().getNumComponents();
    std::size_t heapAfterWarmUp = 0;

    for (int i = 0; i < 50; ++i)
    {
        {
            EditorWindow window (processor);

            if (i < 4)
            {
                EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return editorOf (window).getEditedPhrase() != 0; }))
                    << "the window follows the switches";
                window.click (EditorWindow::get ("generate"));
                window.click (EditorWindow::get ("mutate"));
            }

            window.click (EditorWindow::get ("preset_save"));
            window.click (EditorWindow::get ("save_cancel"));
            // The window closes here, with switches and refreshes still on their way to it.
        }

        EXPECT_EQ (processor.getActiveEditor(), nullptr);

        if (i == 9)
            heapAfterWarmUp = mallinfo2().uordblks;
    }

    const auto heapGrowth = (std::ptrdiff_t) mallinfo2().uordblks - (std::ptrdiff_t) heapAfterWarmUp;
    running = false;
    audio.join();

    EXPECT_EQ (juce::Desktop::getInstance().getNumComponents(), baselineWindows);
    EXPECT_GT (switches.load(), 4);
    EXPECT_NE (processor.getPlaybackDisplay().playingPhrase, 0) << "the keyswitches reached the processor";
    EXPECT_TRUE (processor.getPhraseManager().canUndo());
    EXPECT_EQ (audioAllocations.load(), 0u);

    // One editor with its window is several megabytes; forty leaked ones could not hide here.
    RecordProperty ("heap_growth_bytes", (int) heapGrowth);
    EXPECT_LT (heapGrowth, 512 * 1024) << "heap grew by " << heapGrowth << " bytes over 40 openings";
}

} // namespace cadenzium::test

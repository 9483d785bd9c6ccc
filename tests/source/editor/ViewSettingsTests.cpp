#include <source/editor/ViewSettings.h>

#include <gtest/gtest.h>

TEST (ViewSettings, aStateWithoutViewSettingsOpensAtTheDefaultsWithEveryPanelOpen)
{
    for (const auto& node : { juce::ValueTree(), juce::ValueTree ("editor_settings") })
    {
        const auto view = ViewSettings::read (node);
        EXPECT_EQ (view.width, 1244);
        EXPECT_EQ (view.height, 935);
        EXPECT_TRUE (view.showKeyboard);
        EXPECT_TRUE (view.showSidebar);
        EXPECT_EQ (view.sidebarView, "playback");
        EXPECT_EQ (view.playbackCollapseStates, "00000000");
        EXPECT_EQ (view.generationCollapseStates, "00000000");
    }
}

TEST (ViewSettings, storedSettingsComeBackAndUnusableOnesAreMadeUsable)
{
    juce::ValueTree node ("editor_settings");
    node.setProperty ("editor_window_width", 100000, nullptr)
        .setProperty ("editor_window_height", 10, nullptr)
        .setProperty ("show_keyboard_view", false, nullptr)
        .setProperty ("show_sidebar", false, nullptr)
        .setProperty ("sidebar_view", "generation", nullptr)
        .setProperty ("playback_collapse_states", "0101", nullptr)
        .setProperty ("generation_collapse_states", "11111", nullptr);

    auto view = ViewSettings::read (node);
    EXPECT_EQ (view.width, 2000);
    EXPECT_EQ (view.height, 800);
    EXPECT_FALSE (view.showKeyboard);
    EXPECT_FALSE (view.showSidebar);
    EXPECT_EQ (view.sidebarView, "generation");
    EXPECT_EQ (view.playbackCollapseStates, "0101");
    EXPECT_EQ (view.generationCollapseStates, "11111");

    node.setProperty ("sidebar_view", "mixer", nullptr);
    EXPECT_EQ (ViewSettings::read (node).sidebarView, "playback");
}

#pragma once

#include <tarn/gui/widgets/CommandButton.h>

/** The two sidebars' switch: "Playback" and "Generate", the shown one lit. [message thread] */
class SidebarTabs : public juce::Component
{
public:
    static constexpr const char* playbackView = "playback";
    static constexpr const char* generationView = "generation";

    SidebarTabs();

    /** Lights the tab of a view ("playback" or "generation"). */
    void showView (const juce::String& view);

    /** Called with "playback" or "generation" when the user picks a tab. */
    std::function<void (const juce::String&)> onViewPicked;

    juce::Button& getPlaybackTab() noexcept { return playback; }
    juce::Button& getGenerationTab() noexcept { return generation; }

    void resized() override;

private:
    tarn::CommandButton playback { "Playback" }, generation { "Generate" };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SidebarTabs)
};

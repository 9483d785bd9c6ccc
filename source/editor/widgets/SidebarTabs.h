#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The two sidebars' switch: "Playback" and "Generate", drawn as tabs on a common base line
    (the shown one a raised panel-coloured tab with an accent along its top, the other plain
    text), so they never read as more phrase buttons. [message thread] */
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

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    class Tab : public juce::Button
    {
    public:
        explicit Tab (const juce::String& name) : juce::Button (name) {}
        void paintButton (juce::Graphics& g, bool isHighlighted, bool isDown) override;
    };

    Tab playback { "Playback" }, generation { "Generate" };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SidebarTabs)
};

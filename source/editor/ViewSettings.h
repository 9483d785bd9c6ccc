#pragma once

#include <juce_data_structures/juce_data_structures.h>

/** The window's view settings as the song keeps them (the "editor_settings" node): window
    size, keyboard view, sidebar shown and which one, and each sidebar's collapse string. */
struct ViewSettings
{
    static inline const juce::Identifier showKeyboardId { "show_keyboard_view" };
    static inline const juce::Identifier showSidebarId { "show_sidebar" };
    static inline const juce::Identifier sidebarViewId { "sidebar_view" };
    static inline const juce::Identifier playbackCollapseId { "playback_collapse_states" };
    static inline const juce::Identifier generationCollapseId { "generation_collapse_states" };

    static constexpr int defaultWidth = 1244, defaultHeight = 935;
    static constexpr const char* playbackView = "playback";
    static constexpr const char* generationView = "generation";
    static constexpr const char* allOpen = "00000000";

    int width = defaultWidth, height = defaultHeight;
    bool showKeyboard = true;
    bool showSidebar = true;
    juce::String sidebarView { playbackView };
    juce::String playbackCollapseStates { allOpen };
    juce::String generationCollapseStates { allOpen };

    /** The settings a node holds: missing ones take the defaults, a window size outside the
        resize limits is brought inside them, a sidebar view other than "generation" is
        "playback". [any thread, on a node nobody changes meanwhile] */
    static ViewSettings read (const juce::ValueTree& editorSettings);
};

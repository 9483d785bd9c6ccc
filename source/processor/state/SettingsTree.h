#pragma once

#include <juce_data_structures/juce_data_structures.h>

/** "settings": the editor's view settings, kept with the song. The processor owns one
    "piano_roll" and one "editor_settings" node for as long as it lives; the state tree holds
    copies of them. */
namespace SettingsTree
{
inline const juce::Identifier settingsType { "settings" };
inline const juce::Identifier pianoRollType { "piano_roll" };
inline const juce::Identifier editorSettingsType { "editor_settings" };

inline const juce::Identifier windowWidthId { "editor_window_width" };
inline const juce::Identifier windowHeightId { "editor_window_height" };

/** The window's resize limits: a stored size outside them would open a window of no size,
    or one whose backing image cannot be allocated. */
inline constexpr int minWindowWidth = 1000, maxWindowWidth = 2000;
inline constexpr int minWindowHeight = 800, maxWindowHeight = 1500;

juce::ValueTree write (const juce::ValueTree& pianoRoll, const juce::ValueTree& editorSettings);

/** Makes `target` hold what `loaded` holds (properties and children), changing only what
    differs so listeners hear only real changes. An invalid `loaded` leaves target alone. */
void readInto (const juce::ValueTree& loaded, juce::ValueTree& target);

/** The editor settings with the window size inside the resize limits; a size that is not a
    number is dropped, so the editor opens at its default size. */
juce::ValueTree withUsableWindowSize (const juce::ValueTree& editorSettings);
} // namespace SettingsTree

#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** What a row's stored colour number means. Two kinds are stored: small numbers are
    entries of the theme's row palette (what the swatches store, and what factory presets
    and version-1 imports carry: 0 by type Pitch, 1 Velocity, 2 Timing, 3 Fixed and
    Random, 4 All), so they follow the colour scheme; anything else is a full ARGB colour
    from a song saved by an earlier build, drawn as it is, always opaque.
    [message thread] */
namespace RowColours
{
/** Palette entries 0 .. numEntries - 1; entry 0 is the theme's own colour. */
inline constexpr int numEntries = 8;

inline constexpr bool isPaletteEntry (int stored) noexcept { return stored >= 0 && stored < numEntries; }

/** The colour a stored value shows as, in the scheme `component` is drawn with. */
juce::Colour resolve (int stored, const juce::Component& component);
} // namespace RowColours

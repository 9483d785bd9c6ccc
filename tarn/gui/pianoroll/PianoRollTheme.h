#pragma once

#include <tarn/gui/Theme.h>

namespace tarn::PianoRollText
{
// Text sizes of the piano roll before the theme's scale, from the editor's own.
constexpr float normal = TarnLibLookAndFeel::defaultTextSize;
constexpr float small = TarnLibLookAndFeel::defaultTextSize * 0.85f;
constexpr float smallest = TarnLibLookAndFeel::defaultTextSize * 0.7f;
} // namespace tarn::PianoRollText

namespace tarn::PianoRollLanes
{
/** The shading of the line at `line` counted from the bottom row (row 0 is line 0): rows and
    the empty lanes above them alternate the same way, so the grid and the rows column beside
    it read as one striped sheet. */
inline juce::Colour stripeColour (const juce::Component& component, int line)
{
    return themeColour (component, line % 2 == 0 ? "pianoroll.whiterow" : "pianoroll.blackrow");
}

/** Empty lanes continue the stripes at half their contrast, so they read as room for more
    rows rather than as rows. */
inline juce::Colour emptyLaneColour (const juce::Component& component, int line)
{
    return stripeColour (component, line).interpolatedWith (themeColour (component, "background.background"), 0.5f);
}
} // namespace tarn::PianoRollLanes

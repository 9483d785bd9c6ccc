#include "RowColours.h"

#include <tarn/gui/Theme.h>

namespace RowColours
{
juce::Colour resolve (int stored, const juce::Component& component)
{
    if (isPaletteEntry (stored))
        return tarn::themeColour (component, "rows.colour" + juce::String (stored));

    return juce::Colour ((juce::uint32) stored).withAlpha (1.0f);
}
} // namespace RowColours

#include "ColourSwatch.h"

#include <tarn/gui/Theme.h>

ColourSwatch::ColourSwatch (int colour) : juce::Button ("Row colour"), storedColour (colour)
{
    setWantsKeyboardFocus (false);
    setTooltip ("Row Colour: The colour of this row and its notes");
}

const std::array<int, 8>& ColourSwatch::palette()
{
    // Row colours are the user's data, saved with the song: fixed values, not theme colours.
    static const std::array<int, 8> colours {
        0,
        (int) 0xffe0453a, // red
        (int) 0xffe08a3a, // orange
        (int) 0xffd9c23a, // yellow
        (int) 0xff4cbf6a, // green
        (int) 0xff3aa7e0, // blue
        (int) 0xff8a5ce6, // purple
        (int) 0xffe05cb5 // pink
    };
    return colours;
}

void ColourSwatch::paintButton (juce::Graphics& g, bool isHighlighted, bool)
{
    const auto corner = tarn::themeMetric (*this, "cornerRadius", 2.5f);
    auto area = getLocalBounds().toFloat().reduced (2.0f);
    const auto colour = storedColour == 0 ? tarn::themeColour (*this, "theme.primary")
                                          : juce::Colour ((juce::uint32) storedColour);

    if (getToggleState() || isHighlighted)
    {
        g.setColour (tarn::themeColour (*this, getToggleState() ? "text.highlightedtext" : "text.disabledtext"));
        g.drawRoundedRectangle (area, corner, 1.5f);
    }

    g.setColour (colour);
    g.fillRoundedRectangle (area.reduced (2.5f), corner);
}

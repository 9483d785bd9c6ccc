#include "ColourSwatch.h"

#include "RowColours.h"

#include <tarn/gui/Theme.h>

ColourSwatch::ColourSwatch (int colour) : juce::Button ("Row colour"), storedColour (colour)
{
    setWantsKeyboardFocus (false);
    setTooltip ("Row Colour: The colour of this row and its notes");
}

void ColourSwatch::setStoredColour (int newColour)
{
    if (newColour != storedColour)
    {
        storedColour = newColour;
        repaint();
    }
}

void ColourSwatch::paintButton (juce::Graphics& g, bool isHighlighted, bool)
{
    const auto corner = tarn::themeMetric (*this, "cornerRadius", 2.5f);
    auto area = getLocalBounds().toFloat().reduced (2.0f);

    if (getToggleState() || isHighlighted)
    {
        g.setColour (tarn::themeColour (*this, getToggleState() ? "text.highlightedtext" : "text.disabledtext"));
        g.drawRoundedRectangle (area, corner, 1.5f);
    }

    g.setColour (RowColours::resolve (storedColour, *this));
    g.fillRoundedRectangle (area.reduced (2.5f), corner);
}

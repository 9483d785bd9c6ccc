#include "PianoRollPlaceholder.h"

#include <tarn/gui/Theme.h>

PianoRollPlaceholder::PianoRollPlaceholder()
{
    setComponentID ("piano_roll");
}

RowGeometry PianoRollPlaceholder::getRowGeometry (int numRows) const
{
    RowGeometry geometry;
    geometry.numRows = numRows;
    geometry.rowHeight = 24.0f;
    geometry.gridTop = tarn::themeMetric (*this, "topBarButtonHeight", 30.0f);
    geometry.firstRowAtBottom = true;
    return geometry;
}

void PianoRollPlaceholder::paint (juce::Graphics& g)
{
    const auto geometry = getRowGeometry (numRowsShown);
    g.fillAll (tarn::themeColour (*this, "background.panel"));

    for (int row = 0; row < geometry.numRows; ++row)
    {
        g.setColour (tarn::themeColour (*this, row % 2 == 0 ? "pianoroll.whiterow" : "pianoroll.blackrow"));
        g.fillRect (0.0f, geometry.topOf (row), (float) getWidth(), geometry.rowHeight);
    }

    g.setColour (tarn::themeColour (*this, "text.disabledtext"));
    g.setFont (tarn::themeFont (*this));
    g.drawText ("Piano roll", getLocalBounds().removeFromTop ((int) geometry.gridTop), juce::Justification::centred, false);
}

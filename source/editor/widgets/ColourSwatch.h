#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A small square of one row colour to pick; the picked one is ringed. It shows a stored
    colour value (see RowColours): a palette entry of the theme, or a full ARGB colour.
    [message thread] */
class ColourSwatch : public juce::Button
{
public:
    explicit ColourSwatch (int storedColour);

    int getStoredColour() const noexcept { return storedColour; }
    void setStoredColour (int newColour);

    void paintButton (juce::Graphics& g, bool isHighlighted, bool isDown) override;

private:
    int storedColour;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ColourSwatch)
};

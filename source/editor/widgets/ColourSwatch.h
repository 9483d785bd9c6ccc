#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A small square of one row colour to pick; the picked one is ringed. The stored value 0
    means the theme's own colour. [message thread] */
class ColourSwatch : public juce::Button
{
public:
    explicit ColourSwatch (int storedColour);

    int getStoredColour() const noexcept { return storedColour; }

    /** The colours a row can be given, as stored (ARGB; 0 the theme's). */
    static const std::array<int, 8>& palette();

    void paintButton (juce::Graphics& g, bool isHighlighted, bool isDown) override;

private:
    const int storedColour;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ColourSwatch)
};

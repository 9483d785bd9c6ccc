#pragma once

// TEMPORARY: holds the piano roll's place in the window (its grid rows, so the rows column
// can be seen lined up) until the piano roll is merged. Deleted at the merge.

#include "RowGeometry.h"

#include <juce_gui_basics/juce_gui_basics.h>

class PianoRollPlaceholder : public juce::Component
{
public:
    PianoRollPlaceholder();

    /** Where its grid puts the rows, in its own coordinates. */
    RowGeometry getRowGeometry (int numRows) const;

    void paint (juce::Graphics& g) override;

    int numRowsShown = 0;
};

#pragma once

#include <juce_core/juce_core.h>

#include <vector>

/** The name a musician gives the notes held at once: "C", "Am7", "G7/B", "Dsus4"; the
    lowest note as root when it can be one, else a slash names the bass. Notes that make no
    chord it knows are listed ("C D F#"); one pitch class is its note name. Sharps, as the
    rest of the window spells notes. [any thread] */
namespace ChordName
{
juce::String of (const std::vector<int>& notes);
}

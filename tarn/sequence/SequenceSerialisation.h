#pragma once

#include "Sequence.h"

#include <juce_data_structures/juce_data_structures.h>

namespace tarn
{

/** The value-tree form of a phrase. Hosts' projects and preset files keep this subtree, so
    the property order, the optional properties and the defaults are part of the format.

    Readers never fail: missing values take their defaults, unknown ones are ignored, and
    every number is brought into the range playback can use, so a damaged or hostile tree
    can never make a rendering hang, overflow or send invalid MIDI.

    All functions are plain value transformations. [any thread]
*/
juce::ValueTree writeNote (const SequenceNote& note);
SequenceNote readNote (const juce::ValueTree& tree);

juce::ValueTree writeSequence (const Sequence& sequence);
Sequence readSequence (const juce::ValueTree& tree);

/** Two phrases are equal when everything that is saved is equal: their trees print to the
    same XML text. Unsaved fields (carryPitchOffset, a note's channel) do not count. */
bool sequencesAreEqual (const Sequence& a, const Sequence& b);

/** The bounds the readers apply. */
namespace SequenceLimits
{
    constexpr int minTranspose = -127, maxTranspose = 127;
    constexpr int minOctave = -10, maxOctave = 10;
    constexpr int minLoopCount = -1, maxLoopCount = 253; // the marker byte holds loopCount + 2
    constexpr int minRepeatStrikes = 2, maxRepeatStrikes = 16;
} // namespace SequenceLimits

} // namespace tarn

#pragma once

#include <juce_core/juce_core.h>

namespace juce
{
class AudioProcessorValueTreeState;
}

/** The mutation panel's settings for one run. */
struct MutationSettings
{
    int chance = 25; // percent of the candidate notes to mutate
    int timing = 0; // start shift, in editor grid steps
    int pitch = 1; // row shift, in steps of the ranked Pitch rows
    int length = 0; // length change, in percent of the note's length
    int velocity = 0; // velocity shift, in velocity units

    /** Whether a run would try to change anything at all. [any thread] */
    bool hasAnyAmount() const noexcept { return timing != 0 || pitch != 0 || length != 0 || velocity != 0; }

    /** Every value brought into the range mutation uses. [any thread] */
    MutationSettings clamped() const noexcept;

    /** A snapshot of the m_* parameters (raw values rounded to the nearest, halves to even,
        then clamped); a missing parameter keeps its default. [message thread] */
    static MutationSettings fromParameters (const juce::AudioProcessorValueTreeState&);
};

#pragma once

#include "RenderBudget.h"
#include "Sequence.h"

#include <juce_audio_basics/juce_audio_basics.h>

namespace tarn
{

/** One pass of a phrase as MIDI, timestamps in ticks (960 per quarter note): the loop-count
    marker at tick 0, the notes of every row with this pass's random choices (chance,
    velocity, pitch offset), their repeats and row loops, the controller lanes sampled tick by
    tick, all turned round to the playback start, and the end-of-track event at the length.

    Every random draw comes from `random`, in this order for each sounding event, row by row:
    chance, velocity, transpose, octave. At equal ticks note-offs come before note-ons, so a
    note that ends where the next one on its pitch begins never cuts the new one short.

    A pass holds at most RenderBudget::maxMessages messages and samples at most
    RenderBudget::maxLaneSamples lane ticks, whatever the phrase; what a phrase would put
    past that is left out in the budget's order and, when `report` is given, counted there.

    Allocates; never call it on the audio thread. [any thread]
*/
juce::MidiMessageSequence renderSequence (const Sequence& sequence, juce::Random& random, RenderReport* report = nullptr);

/** The same with a freshly seeded generator from RandomSource. [any thread] */
juce::MidiMessageSequence renderSequence (const Sequence& sequence, RenderReport* report = nullptr);

/** The marker F0 2A n F7 at the head of every rendering: n is (loopCount + 2) & 255, so an
    endless phrase carries 1. [any thread] */
namespace LoopCountMarker
{
    juce::MidiMessage make (int loopCount) noexcept;
    bool isMarker (const juce::MidiMessage& message) noexcept;

    /** The number of passes a marker asks for: its third byte - 2; -1 (or below) is endless. */
    int getLoopLimit (const juce::MidiMessage& marker) noexcept;
} // namespace LoopCountMarker

/** The meta event FF 2F 00 that closes a rendering. */
bool isEndOfTrack (const juce::MidiMessage& message) noexcept;

} // namespace tarn

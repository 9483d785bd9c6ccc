#pragma once

#include "Sequence.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <memory>

namespace tarn
{

/** One rendered pass of a phrase, ready to play: the events in ticks with the loop-count
    marker taken out, the pass's length and loop limit, which content of its slot it was
    rendered from, and that content itself, so the next pass can be drawn from exactly what
    plays. Never changed once handed to a player.
*/
struct PhraseRendering
{
    std::unique_ptr<juce::MidiMessageSequence> events;
    double length = 0.0;
    int loopLimit = -1;
    juce::uint32 version = 0; // which content of the slot it was rendered from
    std::shared_ptr<const Sequence> source; // may be null: then the next pass comes from elsewhere

    /** Takes the loop-count marker out and reads the length. Allocates. [any thread] */
    static PhraseRendering prepare (juce::MidiMessageSequence&& rendering,
                                    juce::uint32 version,
                                    std::shared_ptr<const Sequence> source = {});

    bool hasEvents() const noexcept { return events != nullptr && events->getNumEvents() > 0; }
};

} // namespace tarn

#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

namespace tarn
{

/** One real-time step of a block pipeline: it rewrites a block's MIDI in place.

    Built and prepared on the message thread (or in the host's prepare); process and reset
    run on the audio thread, never allocate and never wait. A stage's own setters are called
    there too, at the start of a block.
*/
class MidiStage
{
public:
    virtual ~MidiStage() = default;

    /** Sizes whatever the stage needs for blocks of up to maxEventsPerBlock events.
        [message thread, or the host's prepare] */
    virtual void prepare (double sampleRate, int maxEventsPerBlock) = 0;

    /** Rewrites one block's events. [audio thread] */
    virtual void process (juce::MidiBuffer& midi) noexcept = 0;

    /** Forgets every note it was tracking: they were all ended another way (panic, bypass,
        a refresh). [audio thread] */
    virtual void reset() noexcept = 0;
};

} // namespace tarn

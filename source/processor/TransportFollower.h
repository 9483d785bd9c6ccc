#pragma once

#include <tarn/sequence/BlockPosition.h>

#include <optional>

/** Where the phrases are for each block: the host's transport, or the internal clock when
    the host is stopped and daw_transport_only is off, shifted back by the origin of the
    last input retrigger so that a retriggered phrase runs from its beginning. It also
    notices when playback stops, so the notes that sound can be ended. Audio thread only.
*/
class TransportFollower
{
public:
    /** [message thread, or prepareToPlay] */
    void prepare (double newSampleRate) noexcept { sampleRate = newSampleRate; }

    /** The block's position before any retrigger shift. With daw_transport_only off and a
        stopped host that still reports a usable tempo, a position and a bar start, the
        internal clock plays at the host's tempo and advances by the block. A block without
        a host position is not playing. [audio thread] */
    tarn::BlockPosition follow (const std::optional<juce::AudioPlayHead::PositionInfo>& host, int numSamples, bool dawTransportOnly) noexcept;

    /** Whether the last follow() ran the internal clock. [audio thread] */
    bool isInternalClockRunning() const noexcept { return internalClockRunning; }

    /** Quarter notes. [audio thread] */
    double getInternalClockPosition() const noexcept { return internalClockPpq; }

    /** True for the first block that does not play after one that did: the host stopped,
        lost its tempo, or the internal clock was switched off. [audio thread] */
    bool hasJustStopped (const tarn::BlockPosition& position) noexcept;

    /** Bypass: the next playing block is a start, not a continuation. [audio thread] */
    void forgetPlaying() noexcept { wasPlaying = false; }

    //==============================================================================
    /** An input retrigger at `sample` of a block at `position`: that moment becomes the
        phrases' origin. Without a usable tempo and position the origin stays. [audio thread] */
    void retrigger (const tarn::BlockPosition& position, int sample) noexcept;

    void clearRetriggerOrigin() noexcept { retriggerOrigin = 0.0; } // [audio thread]
    double getRetriggerOrigin() const noexcept { return retriggerOrigin; } // [audio thread]

    /** The position handed to the players and swing: the retrigger origin is subtracted from
        the position, the bar start and the loop points. [audio thread] */
    tarn::BlockPosition shiftedByOrigin (const tarn::BlockPosition& position) const noexcept;

    /** Playing with a usable tempo and position. [any thread] */
    static bool isPlaying (const tarn::BlockPosition& position) noexcept { return position.isPlaying && position.hasMusicalTime(); }

private:
    double sampleRate = 44100.0;
    double internalClockPpq = 0.0;
    double retriggerOrigin = 0.0;
    bool internalClockRunning = false;
    bool wasPlaying = false;
};

#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

/** A play head that keeps the host's transport between the blocks in which the host reports it.

    LV2 hosts send the transport's position when it changes (a start, a stop, a locate, a new
    tempo), not with every block, and Ardour sends bar, beat in bar and frame but no position
    in beats; JUCE 7's LV2 wrapper hands the processor only what arrived in the block itself.
    This play head keeps the last position the host sent, moves it on by every block while
    the transport runs, and works the position in beats (and the bar's start) out from the
    frame at the host's tempo when the host gives none. */
class ContinuousPlayHead final : public juce::AudioPlayHead
{
public:
    /** The host's play head, read at every advance(). [audio thread] */
    void setSource (juce::AudioPlayHead* hostPlayHead) noexcept { source = hostPlayHead; }
    juce::AudioPlayHead* getSource() const noexcept { return source; }

    /** The position for the next block of numSamples: what the host reports for it, or the
        last position moved on by the previous block. [audio thread] */
    void advance (int numSamples, double sampleRate) noexcept;

    /** [audio thread] */
    juce::Optional<PositionInfo> getPosition() const override { return current; }

private:
    static void completeMusicalTime (PositionInfo& position, double sampleRate) noexcept;

    juce::AudioPlayHead* source = nullptr;
    juce::Optional<PositionInfo> current;
    int previousBlock = 0;
};

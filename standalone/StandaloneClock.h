#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

/** The standalone app's play head: a stopped transport at a fixed tempo in 4/4, at the
    start of bar one. With no DAW transport to follow, the processor's internal clock runs
    from it at that tempo. */
class StandaloneClock final : public juce::AudioPlayHead
{
public:
    explicit StandaloneClock (double beatsPerMinute) noexcept
        : bpm (beatsPerMinute)
    {
    }

    /** [audio thread] */
    juce::Optional<PositionInfo> getPosition() const override;

    double getTempo() const noexcept { return bpm; }

private:
    const double bpm;
};

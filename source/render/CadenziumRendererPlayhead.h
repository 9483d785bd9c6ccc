#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** The fixed clock a render plays the pattern against: always playing, 120 bpm, 4/4. */
class CadenziumRendererPlayhead : public juce::AudioPlayHead
{
public:
    static constexpr double sampleRate = 44100.0;
    static constexpr int blockSize = 512;
    static constexpr double bpm = 120.0;

    /** Ticks (960 per quarter note) that pass during one sample at this clock. */
    static constexpr double ticksPerSample = 1920.0 / sampleRate;

    /** [the render's thread: the processor asks during its block] */
    juce::Optional<PositionInfo> getPosition() const override;

    /** Between blocks, on the render's thread. */
    void reset() noexcept
    {
        quarterNotes = 0.0;
        samples = 0;
    }
    void advance (int numSamples) noexcept;

    double getQuarterNotes() const noexcept { return quarterNotes; }

private:
    double quarterNotes = 0.0;
    juce::int64 samples = 0;
};

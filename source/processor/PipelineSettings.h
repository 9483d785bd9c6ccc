#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <atomic>

/** The parameters the block pipeline reads, looked up once at construction: a block never
    builds a String or searches the parameter tree, it only loads atomics. */
class PipelineSettings
{
public:
    enum Id
    {
        enable,
        keyswitchEnable,
        keyswitchHold,
        keyswitchRetrigger,
        keyswitchRange,
        inputLatch,
        inputFill,
        inputRetrigger,
        inputCcPassthrough,
        lockToKey,
        swingAmount,
        dawTransportOnly,
        randomVelocity,
        velocityScaleLow,
        velocityScaleHigh,
        notePassthrough,
        velocityPassthrough,
        notePassthroughScale,
        noteOutputRangeLow,
        noteOutputRangeHigh,
        numIds
    };

    /** [message thread] */
    explicit PipelineSettings (const juce::AudioProcessorValueTreeState& parameters);

    /** The raw value. [any thread] */
    float raw (Id id) const noexcept { return values[(size_t) id]->load (std::memory_order_relaxed); }

    /** The raw value rounded to the nearest integer. [any thread] */
    int whole (Id id) const noexcept { return juce::roundToInt (raw (id)); }

    /** A switch parameter. [any thread] */
    bool isOn (Id id) const noexcept { return whole (id) != 0; }

private:
    std::array<std::atomic<float>*, numIds> values {};
    std::atomic<float> missing { 0.0f };
};

#pragma once

#include "MidiEffectProcessor.h"

namespace tarn
{

/** Maps velocities 0..127 linearly onto low..high; high below low inverts them. */
class VelocityScaler : public MidiEffectProcessor
{
public:
    VelocityScaler();
    ~VelocityScaler() override;

    /** Each bound 0..127. [audio thread] */
    void setRange (int newLow, int newHigh) noexcept;
    int getLow() const noexcept { return low; } // [audio thread]
    int getHigh() const noexcept { return high; }

    /** The velocity v becomes. [any thread] */
    static int scale (int v, int low, int high) noexcept;

    /** [audio thread] */
    void processBlock (juce::AudioBuffer<float>& audio, juce::MidiBuffer& midi) override;
    using MidiEffectProcessor::processBlock;

private:
    int low = 0, high = 127;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VelocityScaler)
};

} // namespace tarn

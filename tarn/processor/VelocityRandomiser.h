#pragma once

#include "MidiEffectProcessor.h"

namespace tarn
{

/** Adds a random amount in -r..r to every note velocity, drawn from the calling thread's
    own generator. */
class VelocityRandomiser : public MidiEffectProcessor
{
public:
    VelocityRandomiser();
    ~VelocityRandomiser() override;

    /** r, 0..127; 0 leaves velocities alone. [audio thread] */
    void setAmount (int newAmount) noexcept { amount = juce::jlimit (0, 127, newAmount); }
    int getAmount() const noexcept { return amount; } // [audio thread]

    /** [audio thread] */
    void processBlock (juce::AudioBuffer<float>& audio, juce::MidiBuffer& midi) override;
    using MidiEffectProcessor::processBlock;

private:
    int amount = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VelocityRandomiser)
};

} // namespace tarn

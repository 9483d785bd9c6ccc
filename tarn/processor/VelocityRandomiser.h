#pragma once

#include "MidiScratchBuffer.h"
#include "MidiStage.h"

namespace tarn
{

/** Adds a random amount in -r..r to every note velocity, drawn from the calling thread's
    own generator. */
class VelocityRandomiser : public MidiStage
{
public:
    /** r, 0..127; 0 leaves velocities alone. [audio thread] */
    void setAmount (int newAmount) noexcept { amount = juce::jlimit (0, 127, newAmount); }
    int getAmount() const noexcept { return amount; } // [audio thread]

    void prepare (double sampleRate, int maxEventsPerBlock) override; // [message thread]
    void process (juce::MidiBuffer& midi) noexcept override; // [audio thread]
    void reset() noexcept override {} // it tracks nothing

private:
    int amount = 0;
    MidiScratchBuffer scratch;
};

} // namespace tarn

#pragma once

#include "MidiScratchBuffer.h"
#include "MidiStage.h"

namespace tarn
{

/** Maps velocities 0..127 linearly onto low..high; high below low inverts them. */
class VelocityScaler : public MidiStage
{
public:
    /** Each bound 0..127. [audio thread] */
    void setRange (int newLow, int newHigh) noexcept;
    int getLow() const noexcept { return low; } // [audio thread]
    int getHigh() const noexcept { return high; }

    /** The velocity v becomes. [any thread] */
    static int scale (int v, int low, int high) noexcept;

    void prepare (double sampleRate, int maxEventsPerBlock) override; // [message thread]
    void process (juce::MidiBuffer& midi) noexcept override; // [audio thread]
    void reset() noexcept override {} // it tracks nothing

private:
    int low = 0, high = 127;
    MidiScratchBuffer scratch;
};

} // namespace tarn

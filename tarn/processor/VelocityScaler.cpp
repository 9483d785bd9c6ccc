#include "VelocityScaler.h"

#include "VelocityRewrite.h"

namespace tarn
{

void VelocityScaler::setRange (int newLow, int newHigh) noexcept
{
    low = juce::jlimit (0, 127, newLow);
    high = juce::jlimit (0, 127, newHigh);
}

int VelocityScaler::scale (int v, int lowBound, int highBound) noexcept
{
    if (lowBound == highBound)
        return juce::jlimit (0, 127, lowBound);

    return juce::jlimit (0, 127, lowBound + juce::roundToInt (v / 127.0 * (highBound - lowBound)));
}

void VelocityScaler::prepare (double sampleRate, int maxEventsPerBlock)
{
    juce::ignoreUnused (sampleRate);
    scratch.prepare (maxEventsPerBlock);
}

void VelocityScaler::process (juce::MidiBuffer& midi) noexcept
{
    if (low == 0 && high == 127)
        return;

    const auto l = low, h = high;
    rewriteVelocities (midi, scratch, [l, h] (int v)
                       { return scale (v, l, h); });
}

} // namespace tarn

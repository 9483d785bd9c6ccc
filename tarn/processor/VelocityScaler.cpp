#include "VelocityScaler.h"

namespace tarn
{

VelocityScaler::VelocityScaler()
    : MidiEffectProcessor ("Velocity Scaler")
{
}

VelocityScaler::~VelocityScaler() = default;

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

void VelocityScaler::processBlock (juce::AudioBuffer<float>& audio, juce::MidiBuffer& midi)
{
    juce::ignoreUnused (audio);

    if (low == 0 && high == 127)
        return;

    const auto l = low, h = high;
    rewriteVelocities (midi, [l, h] (int v)
                       { return scale (v, l, h); });
}

} // namespace tarn

#include "VelocityRandomiser.h"

#include <tarn/util/RandomSource.h>

namespace tarn
{

VelocityRandomiser::VelocityRandomiser()
    : MidiEffectProcessor ("Velocity Randomiser")
{
}

VelocityRandomiser::~VelocityRandomiser() = default;

void VelocityRandomiser::processBlock (juce::AudioBuffer<float>& audio, juce::MidiBuffer& midi)
{
    juce::ignoreUnused (audio);

    if (amount == 0)
        return;

    auto& random = RandomSource::threadGenerator();
    const auto r = amount;

    rewriteVelocities (midi, [&random, r] (int v)
                       { return v + random.nextInt (2 * r + 1) - r; });
}

} // namespace tarn

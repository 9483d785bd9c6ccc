#include "VelocityRandomiser.h"

#include "VelocityRewrite.h"

#include <tarn/util/RandomSource.h>

namespace tarn
{

void VelocityRandomiser::prepare (double sampleRate, int maxEventsPerBlock)
{
    juce::ignoreUnused (sampleRate);
    scratch.prepare (maxEventsPerBlock);
}

void VelocityRandomiser::process (juce::MidiBuffer& midi) noexcept
{
    if (amount == 0)
        return;

    auto& random = RandomSource::threadGenerator();
    const auto r = amount;

    rewriteVelocities (midi, scratch, [&random, r] (int v)
                       { return v + random.nextInt (2 * r + 1) - r; });
}

} // namespace tarn

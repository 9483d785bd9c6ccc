#pragma once

#include "ParameterIds.h"

#include <juce_core/juce_core.h>

/** Which group of settings a parameter belongs to, as one bit of the word that tells the
    audio thread what changed since its last block. */
namespace ParameterChangeBits
{
enum : juce::uint32
{
    keyswitchSwitches = 1,
    keyswitchRange = 2,
    inputRetrigger = 4,
    inputFill = 8,
    inputLatch = 16,
    lockToKey = 32,
    swingAmount = 64,
    randomVelocity = 128,
    velocityScale = 256,
    outputRange = 512
};

inline juce::uint32 forParameter (const juce::String& id) noexcept
{
    namespace p = ParameterIds;

    if (id == p::keyswitchEnable || id == p::keyswitchHold || id == p::keyswitchRetrigger)
        return keyswitchSwitches;
    if (id == p::keyswitchRange)
        return keyswitchRange;
    if (id == p::inputRetrigger)
        return inputRetrigger;
    if (id == p::inputFill)
        return inputFill;
    if (id == p::inputLatch)
        return inputLatch;
    if (id == p::lockToKey)
        return lockToKey;
    if (id == p::swingAmount)
        return swingAmount;
    if (id == p::randomVelocity)
        return randomVelocity;
    if (id == p::velocityScaleLow || id == p::velocityScaleHigh)
        return velocityScale;
    if (id == p::noteOutputRangeLow || id == p::noteOutputRangeHigh)
        return outputRange;
    return 0;
}
} // namespace ParameterChangeBits

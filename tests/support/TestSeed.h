#pragma once

#include <juce_core/juce_core.h>

#include <cstdlib>

namespace cadenzium::test
{

/** The seed of a randomised test. Fixed by default, so every run of the suite checks the
    same cases; set CADENZIUM_TEST_SEED to replay a printed seed or to explore others.
    Print it with SCOPED_TRACE so a failure can be replayed. */
inline juce::int64 testSeed (juce::int64 fixedSeed)
{
    if (const auto* text = std::getenv ("CADENZIUM_TEST_SEED"))
        return std::atoll (text);

    return fixedSeed;
}

} // namespace cadenzium::test

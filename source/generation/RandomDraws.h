#pragma once

#include <juce_core/juce_core.h>

namespace generation
{
/** juce::Random::nextInt (n) for any n: an empty or inverted range gives 0, still using
    one draw, so a run stays reproducible from its seed whatever the settings. [any thread] */
inline int drawBelow (juce::Random& random, int n) noexcept
{
    if (n <= 0)
    {
        random.nextInt();
        return 0;
    }

    return random.nextInt (n);
}

/** A whole number from min to max inclusive; a minimum above its maximum wins. [any thread] */
inline int drawBetween (juce::Random& random, int min, int max) noexcept
{
    return min + drawBelow (random, std::max (max + 1, min) - min);
}

/** A roll: 0 to 99. [any thread] */
inline int roll (juce::Random& random) noexcept
{
    return random.nextInt (100);
}
} // namespace generation

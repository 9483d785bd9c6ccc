#pragma once

#include <juce_core/juce_core.h>

namespace tarn
{

/** The one place every random draw of the program starts from.

    Normally each new generator is seeded from the clock mixed with a process-wide
    counter, so two generators made in the same millisecond (the two renderings of
    one phrase load, two phrase slots at once) still draw differently. Tests and the
    command-line tools call setFixedSeed() to make a whole run reproducible.
*/
namespace RandomSource
{
    /** A seed for a new generator. [any thread] */
    juce::int64 nextSeed() noexcept;

    /** A fresh generator seeded with nextSeed(). [any thread] */
    juce::Random makeGenerator() noexcept;

    /** The calling thread's own generator, seeded with nextSeed() on first use.
        Used by per-note draws on the audio thread (random rows, velocity randomiser). [any thread] */
    juce::Random& threadGenerator() noexcept;

    /** From now on every seed is derived from this one, in call order. [any thread] */
    void setFixedSeed (juce::int64 seed) noexcept;

    /** Back to clock seeding. [any thread] */
    void clearFixedSeed() noexcept;

    bool hasFixedSeed() noexcept;
} // namespace RandomSource

} // namespace tarn

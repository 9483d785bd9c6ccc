#include "RandomSource.h"

#include <atomic>
#include <chrono>

namespace tarn::RandomSource
{
namespace
{
    std::atomic<juce::uint64> counter { 0 };
    std::atomic<bool> fixed { false };
    std::atomic<juce::int64> fixedBase { 0 };
    std::atomic<juce::uint32> threadGeneration { 0 };

    // SplitMix64 finaliser: spreads neighbouring inputs over the whole 64-bit range.
    juce::uint64 mix (juce::uint64 x) noexcept
    {
        x += 0x9e3779b97f4a7c15ull;
        x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
        x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
        return x ^ (x >> 31);
    }
} // namespace

juce::int64 nextSeed() noexcept
{
    const auto n = counter.fetch_add (1, std::memory_order_relaxed);

    if (fixed.load (std::memory_order_acquire))
        return (juce::int64) mix ((juce::uint64) fixedBase.load (std::memory_order_relaxed) + n);

    const auto millis = (juce::uint64) juce::Time::currentTimeMillis();
    const auto ticks = (juce::uint64) std::chrono::steady_clock::now().time_since_epoch().count();
    return (juce::int64) mix ((millis << 20) ^ ticks ^ mix (n));
}

juce::Random makeGenerator() noexcept
{
    return juce::Random (nextSeed());
}

juce::Random& threadGenerator() noexcept
{
    thread_local juce::Random generator { nextSeed() };
    thread_local juce::uint32 seenGeneration = threadGeneration.load (std::memory_order_relaxed);

    // A fixed seed set after this thread's generator was made takes effect here too.
    const auto generation = threadGeneration.load (std::memory_order_acquire);

    if (generation != seenGeneration)
    {
        seenGeneration = generation;
        generator.setSeed (nextSeed());
    }

    return generator;
}

void setFixedSeed (juce::int64 seed) noexcept
{
    fixedBase.store (seed, std::memory_order_relaxed);
    counter.store (0, std::memory_order_relaxed);
    fixed.store (true, std::memory_order_release);
    threadGeneration.fetch_add (1, std::memory_order_release);
}

void clearFixedSeed() noexcept
{
    fixed.store (false, std::memory_order_release);
    threadGeneration.fetch_add (1, std::memory_order_release);
}

bool hasFixedSeed() noexcept
{
    return fixed.load (std::memory_order_acquire);
}

} // namespace tarn::RandomSource

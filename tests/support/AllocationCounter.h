#pragma once

#include <cstddef>

namespace cadenzium::test
{

/** Counts heap allocations made by the current thread while a scope is active. Linking
    this file replaces the global operator new, so it belongs only in test and benchmark
    executables. */
class ScopedAllocationCounter
{
public:
    ScopedAllocationCounter() noexcept;
    ~ScopedAllocationCounter() noexcept;

    std::size_t count() const noexcept;

    ScopedAllocationCounter (const ScopedAllocationCounter&) = delete;
    ScopedAllocationCounter& operator= (const ScopedAllocationCounter&) = delete;

private:
    std::size_t startCount = 0;
    bool wasCounting = false;
};

} // namespace cadenzium::test

#pragma once

#include <cstddef>

namespace cadenzium::test
{

/** Counts the lock acquisitions the current thread makes while a scope is active: pthread
    mutex locks and try-locks, read-write locks, spin locks and semaphore waits. std::mutex,
    juce::CriticalSection, juce::WaitableEvent and listener lists with a critical section all
    end up there.

    Linking this file interposes those functions for the whole executable (each forwards to
    the C library's own), so it belongs only in test and benchmark executables. Under
    ThreadSanitizer, whose own interceptors must see every lock, nothing is interposed and
    isAvailable() is false.
*/
class ScopedLockCounter
{
public:
    struct Counts
    {
        std::size_t blocking = 0, tryLocks = 0; // try-locks never wait

        std::size_t total() const noexcept { return blocking + tryLocks; }
    };

    ScopedLockCounter() noexcept;
    ~ScopedLockCounter() noexcept;

    /** What this thread acquired since the scope began. */
    Counts counts() const noexcept;

    /** Whether this build can count at all. */
    static bool isAvailable() noexcept;

    ScopedLockCounter (const ScopedLockCounter&) = delete;
    ScopedLockCounter& operator= (const ScopedLockCounter&) = delete;

private:
    Counts start;
    bool wasCounting = false;
};

} // namespace cadenzium::test

#pragma once

#include <array>
#include <atomic>
#include <mutex>

namespace tarn
{

/** A value the audio thread publishes and other threads copy, without the audio thread ever
    waiting: a triple buffer. The audio thread writes into a buffer of its own and swaps it
    into the middle with one atomic exchange; a reader swaps the middle out when it holds a
    newer value and copies it.

    Readers wait only for each other (a lock the audio thread never takes), so any number of
    threads may read. ValueType must be copyable without allocating.
*/
template <typename ValueType>
class AudioThreadSnapshot
{
public:
    /** Makes `value` the one readers get from now on. [audio thread; one writer] */
    void publish (const ValueType& value) noexcept
    {
        buffers[(size_t) back] = value;
        back = middle.exchange (back | fresh, std::memory_order_acq_rel) & indexMask;
    }

    /** The value published last (a default value before the first). [any thread but the writer] */
    ValueType get() const
    {
        const std::lock_guard<std::mutex> guard (readers);

        if ((middle.load (std::memory_order_acquire) & fresh) != 0)
            front = middle.exchange (front, std::memory_order_acq_rel) & indexMask;

        return buffers[(size_t) front];
    }

private:
    static constexpr int indexMask = 3, fresh = 4;

    mutable std::array<ValueType, 3> buffers {};
    int back = 0; // the writer's
    mutable int front = 2; // the readers'
    mutable std::atomic<int> middle { 1 };
    mutable std::mutex readers;
};

} // namespace tarn

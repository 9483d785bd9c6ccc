#pragma once

#include <atomic>
#include <memory>

namespace tarn
{

/** Hands whole immutable objects from the message thread to the audio thread.

    The message thread publishes a new object; the audio thread adopts it at the start of
    a block and from then on reads it without any lock. The object the audio thread lets go
    of is passed back and deleted on the message thread, at the next publish or
    collectGarbage(), so the audio thread never frees memory. While a retired object waits
    to be collected the audio thread keeps its current one and adopts the newest published
    object a block later.
*/
template <typename ObjectType>
class RealtimeObjectExchange
{
public:
    /** [message thread] */
    explicit RealtimeObjectExchange (ObjectType initial = {})
        : current (new ObjectType (std::move (initial)))
    {
    }

    ~RealtimeObjectExchange()
    {
        delete incoming.exchange (nullptr);
        delete retired.exchange (nullptr);
        delete current;
    }

    /** Publishes a new object; an object published earlier and never adopted is deleted
        here. [message thread] */
    void publish (ObjectType object)
    {
        collectGarbage();
        auto fresh = std::make_unique<ObjectType> (std::move (object));
        delete incoming.exchange (fresh.release(), std::memory_order_acq_rel);
    }

    /** Deletes the object the audio thread let go of. [message thread] */
    void collectGarbage() noexcept
    {
        delete retired.exchange (nullptr, std::memory_order_acq_rel);
    }

    /** Adopts the newest published object, if any; call once at the start of a block.
        Returns true when the object changed. [audio thread] */
    bool update() noexcept
    {
        if (retired.load (std::memory_order_acquire) != nullptr)
            return false;

        auto* fresh = incoming.exchange (nullptr, std::memory_order_acq_rel);

        if (fresh == nullptr)
            return false;

        retired.store (current, std::memory_order_release);
        current = fresh;
        return true;
    }

    /** The object adopted by the last update(). [audio thread] */
    const ObjectType& get() const noexcept { return *current; }

    /** [any thread] */
    bool hasUnadoptedObject() const noexcept { return incoming.load() != nullptr; }

    RealtimeObjectExchange (const RealtimeObjectExchange&) = delete;
    RealtimeObjectExchange& operator= (const RealtimeObjectExchange&) = delete;

private:
    ObjectType* current;
    std::atomic<ObjectType*> incoming { nullptr };
    std::atomic<ObjectType*> retired { nullptr };
};

} // namespace tarn

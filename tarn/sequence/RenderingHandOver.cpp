#include "RenderingHandOver.h"

#include <memory>

namespace tarn
{

RenderingHandOver::~RenderingHandOver()
{
    delete incomingFull.exchange (nullptr);
    delete incomingPending.exchange (nullptr);
    collectGarbage();
}

void RenderingHandOver::postFull (Rendering&& rendering)
{
    auto fresh = std::make_unique<Rendering> (std::move (rendering));

    // Before the post: a pending pass checked against these right after must see them.
    loadedLength.store (fresh->length, std::memory_order_release);
    loadedLoopLimit.store (fresh->loopLimit, std::memory_order_release);
    loadedEvents.store (fresh->hasEvents(), std::memory_order_release);
    loadedVersion.store (fresh->version, std::memory_order_release);

    std::unique_ptr<Rendering> replaced (incomingFull.exchange (fresh.release(), std::memory_order_acq_rel));
}

bool RenderingHandOver::postPending (Rendering&& rendering)
{
    // A pass rendered from a phrase that has since been replaced must not be played.
    constexpr double tolerance = 0.00001;

    if (rendering.version != getLoadedVersion() || std::abs (rendering.length - getLoadedLength()) > tolerance)
        return false;

    auto fresh = std::make_unique<Rendering> (std::move (rendering));
    std::unique_ptr<Rendering> replaced (incomingPending.exchange (fresh.release(), std::memory_order_acq_rel));
    return true;
}

void RenderingHandOver::collectGarbage() noexcept
{
    for (auto& slot : garbage)
        delete slot.exchange (nullptr, std::memory_order_acq_rel);
}

bool RenderingHandOver::hasGarbage() const noexcept
{
    return countFreeGarbageSlots() < garbageCapacity;
}

int RenderingHandOver::countFreeGarbageSlots() const noexcept
{
    int free = 0;

    for (const auto& slot : garbage)
        free += slot.load (std::memory_order_acquire) == nullptr ? 1 : 0;

    return free;
}

//==============================================================================
RenderingHandOver::Rendering* RenderingHandOver::takeFull() noexcept
{
    // Only the audio thread fills the ring, so free slots seen here stay free until it does.
    if (incomingFull.load (std::memory_order_acquire) == nullptr || countFreeGarbageSlots() < 2)
        return nullptr;

    return incomingFull.exchange (nullptr, std::memory_order_acq_rel);
}

RenderingHandOver::Rendering* RenderingHandOver::takePending() noexcept
{
    if (incomingPending.load (std::memory_order_acquire) == nullptr || countFreeGarbageSlots() < 1)
        return nullptr;

    return incomingPending.exchange (nullptr, std::memory_order_acq_rel);
}

void RenderingHandOver::putBackPending (Rendering* rendering) noexcept
{
    Rendering* expected = nullptr;

    if (! incomingPending.compare_exchange_strong (expected, rendering, std::memory_order_acq_rel))
        retire (rendering);
}

void RenderingHandOver::retire (Rendering* rendering) noexcept
{
    if (rendering == nullptr)
        return;

    for (auto& slot : garbage)
    {
        if (slot.load (std::memory_order_acquire) == nullptr)
        {
            slot.store (rendering, std::memory_order_release);
            return;
        }
    }

    // The take...() calls make room first; reaching here is a fault in the caller.
    jassertfalse;
}

} // namespace tarn

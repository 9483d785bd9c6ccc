#pragma once

#include "PhraseRendering.h"

#include <array>
#include <atomic>

namespace tarn
{

/** Hands finished renderings from the threads that make them (the message thread, a host's
    thread restoring a song, the render worker) to a player on the audio thread, and the
    renderings the player lets go of back, without a lock on either side.

    Loaders post a full load (a new phrase) or a pending pass (the next draw of the phrase
    that plays) into one slot each; a later post replaces one not yet taken, and the loader
    frees the one it replaced. The audio thread takes them at the start of a block. What it
    lets go of goes into a small garbage ring that any other thread empties; while the ring
    has no room the audio thread leaves the renderings where they are and takes them a
    block later, so it never frees memory and never waits.
*/
class RenderingHandOver
{
public:
    using Rendering = PhraseRendering;

    static constexpr int garbageCapacity = 8;

    RenderingHandOver() = default;
    ~RenderingHandOver(); // frees whatever is still posted or waiting as garbage

    //==============================================================================
    /** Posts a new phrase's first pass. [any thread but the audio thread] */
    void postFull (Rendering&& rendering);

    /** Posts the next pass. Dropped (false) when it was rendered from another content than
        the last full load, or has another length. [any thread but the audio thread; the audio
        thread itself only when it renders offline] */
    bool postPending (Rendering&& rendering);

    /** Frees the renderings the audio thread let go of. [any thread but the audio thread] */
    void collectGarbage() noexcept;

    bool hasGarbage() const noexcept; // [any thread]

    /** What the last full load posted holds, whether or not the player has taken it yet. [any thread] */
    juce::uint32 getLoadedVersion() const noexcept { return loadedVersion.load (std::memory_order_acquire); }
    double getLoadedLength() const noexcept { return loadedLength.load (std::memory_order_acquire); }
    int getLoadedLoopLimit() const noexcept { return loadedLoopLimit.load (std::memory_order_acquire); }
    bool loadedHasEvents() const noexcept { return loadedEvents.load (std::memory_order_acquire); }

    /** A pending pass was posted and not taken yet. [any thread] */
    bool isPendingWaiting() const noexcept { return incomingPending.load (std::memory_order_acquire) != nullptr; }

    //==============================================================================
    // The audio side. Whatever these hand out is owned by the caller until it is retired.

    /** The newest full load, or null: also null while the garbage ring could not take the
        two renderings it replaces. [audio thread] */
    Rendering* takeFull() noexcept;

    /** The newest pending pass, or null (also while the ring has no room for one). [audio thread] */
    Rendering* takePending() noexcept;

    /** Gives back a pending pass that belongs to a full load not taken yet; if another was
        posted meanwhile, the newer one stays and this one is retired. [audio thread] */
    void putBackPending (Rendering* rendering) noexcept;

    /** Hands a rendering over to be freed elsewhere; null is ignored. Only what a take...()
        made room for. [audio thread] */
    void retire (Rendering* rendering) noexcept;

    RenderingHandOver (const RenderingHandOver&) = delete;
    RenderingHandOver& operator= (const RenderingHandOver&) = delete;

private:
    int countFreeGarbageSlots() const noexcept;

    std::atomic<Rendering*> incomingFull { nullptr }, incomingPending { nullptr };
    std::array<std::atomic<Rendering*>, garbageCapacity> garbage {};

    std::atomic<juce::uint32> loadedVersion { 0 };
    std::atomic<double> loadedLength { 0.0 };
    std::atomic<int> loadedLoopLimit { -1 };
    std::atomic<bool> loadedEvents { false };
};

} // namespace tarn

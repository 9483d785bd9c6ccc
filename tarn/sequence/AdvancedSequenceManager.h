#pragma once

#include "Sequence.h"
#include "SwitchableSequencePlayer.h"

#include <array>
#include <atomic>
#include <memory>
#include <mutex>

namespace tarn
{

/** Owns the phrase of every slot and keeps each slot's player fed: a new phrase is rendered
    and loaded at once (the full load, then a second draw as the pending pass), and every
    time a player swaps in its pending pass the next one is rendered, so each pass of the loop
    draws its chance, velocities and pitch offsets afresh.

    Where the next pass is rendered:
    - in real time, by a worker thread the manager owns, always at least one pass ahead. The
      audio thread only records which slot needs a pass and posts a semaphore; it never
      waits for the worker, never allocates, never frees;
    - when the host runs offline (setNonRealtime (true)), synchronously on the audio thread
      at the end of the block in which the pass was swapped in, from the phrase the player
      itself plays, so every pass is a fresh draw however fast the blocks come.

    The worker renders from an immutable snapshot of the slot's phrase, so phrases can be
    replaced at any time; a pass rendered from a phrase that has since been replaced is never
    played. The worker also frees the renderings the players let go of.
*/
class AdvancedSequenceManager
{
public:
    static constexpr int numSlots = SwitchableSequencePlayer::numSlots;

    class Listener
    {
    public:
        virtual ~Listener() = default;

        /** The phrase of `slot` was replaced, or the current slot is being announced (source
            null). `source` is what the caller of setSequence passed, unchanged. Called on the
            thread that made the change. */
        virtual void sequenceManagerChanged (int slot, void* source) = 0;
    };

    /** Starts the render worker. [message thread] */
    AdvancedSequenceManager();

    /** Stops the render worker. [message thread] */
    virtual ~AdvancedSequenceManager();

    //==============================================================================
    /** Replaces the phrase of a slot (0..11) and loads it into the slot's player. A phrase
        equal to the stored one changes nothing. A slot can be added only right after the last
        stored one; any other index is ignored. [message thread, or a host thread restoring a
        song; one at a time] */
    virtual void setSequence (int slot, const Sequence& sequence, void* source);

    /** While one lives, a phrase stored in real time has only the pass it starts with
        rendered at once; its next pass is left to the render worker, like every later pass.
        A host restoring a song replaces every phrase in one call on its own thread, and the
        passes after the first are not needed before the first has played. Offline, both
        are still rendered at once, so a bounce draws every pass afresh. [the thread that
        stores the phrases] */
    class ScopedNextPassesFromWorker
    {
    public:
        explicit ScopedNextPassesFromWorker (AdvancedSequenceManager& m)
            : manager (m)
        {
            ++manager.nextPassesFromWorker;
        }

        ~ScopedNextPassesFromWorker() { --manager.nextPassesFromWorker; }

    private:
        AdvancedSequenceManager& manager;

        JUCE_DECLARE_NON_COPYABLE (ScopedNextPassesFromWorker)
    };

    int getNumSequences() const; // [any thread but the audio thread]

    /** A copy of the stored phrase of a slot (an empty phrase for a slot not stored yet).
        [any thread but the audio thread] */
    Sequence getSequence (int slot) const;

    /** The stored phrase itself, never null, without a copy: it stays valid for as long as
        the pointer is held, whatever replaces the slot meanwhile. [any thread but the audio
        thread] */
    std::shared_ptr<const Sequence> getSequenceSnapshot (int slot) const;

    /** Tells the listeners about the current slot, with a null source. [message thread] */
    void announceCurrentSlot();

    /** Whether renderings carry each note's pitch offset in a wrapped message. Set before
        the first phrase is stored. [message thread] */
    void setCarryPitchOffset (bool shouldCarry) noexcept { carryPitchOffset = shouldCarry; }
    bool getCarryPitchOffset() const noexcept { return carryPitchOffset; }

    /** Offline processing renders the next pass synchronously. [any thread] */
    void setNonRealtime (bool isNonRealtime) noexcept;
    bool isNonRealtime() const noexcept { return nonRealtime.load (std::memory_order_acquire); }

    /** The sample rate for every player. [message thread] */
    void prepare (double sampleRate) noexcept;

    SwitchableSequencePlayer& getPlayer() noexcept { return player; }
    const SwitchableSequencePlayer& getPlayer() const noexcept { return player; }

    /** Plays one block of the current slot (see SwitchableSequencePlayer::playBlock) and asks
        for the passes it used up: offline it renders them here, in real time the worker
        does. [audio thread] */
    MidiMessageSequencePlayer::BlockResult playBlock (juce::MidiBuffer& output,
                                                      int numSamples,
                                                      const BlockPosition& position,
                                                      const SwitchableSequencePlayer::SelectingEvent* events = nullptr,
                                                      int numEvents = 0);

    /** Records that a slot needs its next pass and, in real time, wakes the worker with a
        semaphore post (no lock). [any thread] */
    void pendingNeeded (int slot) noexcept;

    /** True while a requested pass has not been loaded yet. For tools and tests. [any thread] */
    bool hasRenderingsInFlight() const noexcept;

    void addListener (Listener* listener); // [message thread]
    void removeListener (Listener* listener); // [message thread]

private:
    class RenderWorker;

    struct StoredPhrase
    {
        std::shared_ptr<const Sequence> sequence;
        juce::uint32 version = 0;
    };

    StoredPhrase getStoredPhrase (int slot) const;
    void notifyChanged (int slot, void* source);
    void renderRequestedPasses (bool onAudioThread);
    void renderNextPass (int slot, bool onAudioThread);
    void collectGarbage() noexcept;

    bool carryPitchOffset = false;
    std::atomic<int> nextPassesFromWorker { 0 };
    std::atomic<bool> nonRealtime { false };

    mutable std::mutex storedLock; // held only to copy or replace a StoredPhrase; never by the audio thread
    std::array<StoredPhrase, numSlots> stored;
    int numStored = 0;
    juce::uint32 lastVersion = 0;

    std::atomic<juce::uint32> requestedPasses { 0 }; // one bit per slot
    std::atomic<int> rendersRunning { 0 };

    SwitchableSequencePlayer player;
    std::unique_ptr<RenderWorker> worker;
    juce::ListenerList<Listener, juce::Array<Listener*, juce::CriticalSection>> listeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AdvancedSequenceManager)
};

} // namespace tarn

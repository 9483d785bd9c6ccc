#include "AdvancedSequenceManager.h"

#include "SequenceRenderer.h"
#include "SequenceSerialisation.h"

#include <cerrno>
#include <semaphore.h>

namespace tarn
{

/** Renders next passes and frees retired renderings whenever it is woken. The audio thread
    wakes it with a semaphore post: no lock on that side, unlike an event or a condition. */
class AdvancedSequenceManager::RenderWorker : public juce::Thread
{
public:
    explicit RenderWorker (AdvancedSequenceManager& ownerToUse)
        : juce::Thread ("Phrase pass renderer")
        , owner (ownerToUse)
    {
        sem_init (&wakeUps, 0, 0);
    }

    ~RenderWorker() override
    {
        signalThreadShouldExit();
        wake();
        stopThread (5000);
        sem_destroy (&wakeUps);
    }

    /** [any thread; never blocks] */
    void wake() noexcept { sem_post (&wakeUps); }

    void run() override
    {
        while (! threadShouldExit())
        {
            // Offline, the blocks render their own next passes: a request taken here would
            // leave the block without its pass, and the old one would play again.
            if (! owner.isNonRealtime())
                owner.renderRequestedPasses (false);

            owner.collectGarbage();

            while (sem_wait (&wakeUps) != 0 && errno == EINTR)
            {
            }
        }
    }

private:
    AdvancedSequenceManager& owner;
    sem_t wakeUps;
};

//==============================================================================
AdvancedSequenceManager::AdvancedSequenceManager()
    : worker (std::make_unique<RenderWorker> (*this))
{
    worker->startThread();
}

AdvancedSequenceManager::~AdvancedSequenceManager()
{
    worker.reset();
}

//==============================================================================
void AdvancedSequenceManager::setSequence (int slot, const Sequence& sequence, void* source)
{
    const auto count = getNumSequences();

    // Slots are added in order; an index past the end would store a phrase in one slot and
    // play it in another.
    if (! juce::isPositiveAndBelow (slot, numSlots) || slot > count)
        return;

    Sequence copy (sequence);
    copy.carryPitchOffset = carryPitchOffset;

    if (slot < count && sequencesAreEqual (copy, *getSequenceSnapshot (slot)))
        return;

    auto snapshot = std::make_shared<const Sequence> (std::move (copy));
    juce::uint32 version = 0;

    {
        const std::lock_guard<std::mutex> guard (storedLock);
        version = ++lastVersion;
        stored[(size_t) slot] = { snapshot, version };
        numStored = std::max (numStored, slot + 1);
    }

    // Rendered here, on the caller's thread; the player takes it at its next block.
    RenderReport report;
    auto first = PhraseRendering::prepare (renderSequence (*snapshot, &report), version, snapshot);

    // Every pass of a phrase leaves out the same, so this phrase is logged once, here.
    if (! report.isComplete())
        juce::Logger::writeToLog ("Phrase " + juce::String (slot + 1) + " is too dense to play in full: " + report.describe());
    auto& slotPlayer = player.getPlayer (slot);

    if (nextPassesFromWorker.load() > 0 && ! isNonRealtime())
    {
        slotPlayer.loadFull (std::move (first));

        // Asked for after the full load, which drops whatever pending pass it finds.
        pendingNeeded (slot);
    }
    else
    {
        auto second = PhraseRendering::prepare (renderSequence (*snapshot), version, snapshot);
        slotPlayer.loadFull (std::move (first));
        slotPlayer.loadPending (std::move (second));
    }

    notifyChanged (slot, source);
}

void AdvancedSequenceManager::notifyChanged (int slot, void* source)
{
    // GCC 12 mistakes the list's stack-held iterator for a dangling pointer.
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdangling-pointer")
    listeners.call ([slot, source] (Listener& l)
                    { l.sequenceManagerChanged (slot, source); });
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
}

int AdvancedSequenceManager::getNumSequences() const
{
    const std::lock_guard<std::mutex> guard (storedLock);
    return numStored;
}

Sequence AdvancedSequenceManager::getSequence (int slot) const
{
    return *getSequenceSnapshot (slot);
}

std::shared_ptr<const Sequence> AdvancedSequenceManager::getSequenceSnapshot (int slot) const
{
    static const auto empty = std::make_shared<const Sequence>();

    if (auto phrase = getStoredPhrase (slot).sequence)
        return phrase;

    return empty;
}

AdvancedSequenceManager::StoredPhrase AdvancedSequenceManager::getStoredPhrase (int slot) const
{
    const std::lock_guard<std::mutex> guard (storedLock);

    if (! juce::isPositiveAndBelow (slot, numStored))
        return {};

    return stored[(size_t) slot];
}

void AdvancedSequenceManager::announceCurrentSlot()
{
    notifyChanged (player.getCurrentIndex(), nullptr);
}

void AdvancedSequenceManager::setNonRealtime (bool isNonRealtime) noexcept
{
    nonRealtime.store (isNonRealtime, std::memory_order_release);

    // Requests left by offline blocks are picked up by the worker from now on.
    if (! isNonRealtime && requestedPasses.load (std::memory_order_acquire) != 0)
        worker->wake();
}

void AdvancedSequenceManager::prepare (double sampleRate) noexcept
{
    player.prepare (sampleRate);
}

void AdvancedSequenceManager::addListener (Listener* listener)
{
    listeners.add (listener);
}

void AdvancedSequenceManager::removeListener (Listener* listener)
{
    listeners.remove (listener);
}

//==============================================================================
MidiMessageSequencePlayer::BlockResult AdvancedSequenceManager::playBlock (juce::MidiBuffer& output,
                                                                           int numSamples,
                                                                           const BlockPosition& position,
                                                                           const SwitchableSequencePlayer::SelectingEvent* events,
                                                                           int numEvents)
{
    const auto result = player.playBlock (output, numSamples, position, events, numEvents);

    if (result.needsNextPass)
        pendingNeeded (player.getCurrentIndex());

    if (isNonRealtime())
    {
        // Offline the block may allocate and free: the next pass is drawn right here.
        renderRequestedPasses (true);
        collectGarbage();
    }
    else if (result.retiredRenderings)
    {
        worker->wake();
    }

    return result;
}

void AdvancedSequenceManager::pendingNeeded (int slot) noexcept
{
    if (! juce::isPositiveAndBelow (slot, numSlots))
        return;

    const auto bit = 1u << slot;
    const auto before = requestedPasses.fetch_or (bit, std::memory_order_acq_rel);

    // A request already waiting has its wake-up on the way.
    if ((before & bit) == 0 && ! isNonRealtime())
        worker->wake();
}

bool AdvancedSequenceManager::hasRenderingsInFlight() const noexcept
{
    return requestedPasses.load (std::memory_order_acquire) != 0 || rendersRunning.load (std::memory_order_acquire) != 0;
}

void AdvancedSequenceManager::renderRequestedPasses (bool onAudioThread)
{
    rendersRunning.fetch_add (1, std::memory_order_acq_rel);
    const auto requests = requestedPasses.exchange (0, std::memory_order_acq_rel);

    for (int slot = 0; slot < numSlots; ++slot)
        if ((requests & (1u << slot)) != 0)
            renderNextPass (slot, onAudioThread);

    rendersRunning.fetch_sub (1, std::memory_order_acq_rel);
}

void AdvancedSequenceManager::renderNextPass (int slot, bool onAudioThread)
{
    // The audio thread draws from what the player itself plays, and never touches the
    // stored phrases (their lock is the loaders'); the worker draws from the stored phrase.
    auto& slotPlayer = player.getPlayer (slot);
    const auto phrase = onAudioThread ? StoredPhrase { slotPlayer.getPlayingSource(), slotPlayer.getPlayingVersion() }
                                      : getStoredPhrase (slot);

    if (phrase.sequence == nullptr)
        return;

    // Each pass draws from its own generator: RandomSource mixes a counter into every seed,
    // so passes rendered in the same instant still differ.
    slotPlayer.loadPending (PhraseRendering::prepare (renderSequence (*phrase.sequence), phrase.version, phrase.sequence));
}

void AdvancedSequenceManager::collectGarbage() noexcept
{
    for (int slot = 0; slot < numSlots; ++slot)
        player.getPlayer (slot).collectGarbage();
}

} // namespace tarn

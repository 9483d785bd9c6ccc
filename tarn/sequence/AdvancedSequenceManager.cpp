#include "AdvancedSequenceManager.h"

#include "SequenceRenderer.h"
#include "SequenceSerialisation.h"

namespace tarn
{

/** Renders next passes whenever it is woken. */
class AdvancedSequenceManager::RenderWorker : public juce::Thread
{
public:
    explicit RenderWorker (AdvancedSequenceManager& ownerToUse)
        : juce::Thread ("Phrase pass renderer")
        , owner (ownerToUse)
    {
    }

    void run() override
    {
        while (! threadShouldExit())
        {
            // Offline, the blocks render their own next passes: a request taken here would
            // leave the block without its pass, and the old one would play again.
            if (! owner.isNonRealtime())
                owner.renderRequestedPasses();

            wait (-1);
        }
    }

private:
    AdvancedSequenceManager& owner;
};

//==============================================================================
AdvancedSequenceManager::AdvancedSequenceManager()
    : worker (std::make_unique<RenderWorker> (*this))
{
    player.addListener (this);
    worker->startThread();
}

AdvancedSequenceManager::~AdvancedSequenceManager()
{
    worker->signalThreadShouldExit();
    worker->notify();
    worker->stopThread (5000);
    player.removeListener (this);
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

    if (slot < count && sequencesAreEqual (copy, getSequence (slot)))
        return;

    auto snapshot = std::make_shared<const Sequence> (std::move (copy));
    juce::uint32 version = 0;

    {
        const std::lock_guard<std::mutex> guard (storedLock);
        version = ++lastVersion;
        stored[(size_t) slot] = { snapshot, version };
        numStored = std::max (numStored, slot + 1);
    }

    // Rendered here, outside every lock; only the exchange happens under the player's lock.
    RenderReport report;
    auto first = MidiMessageSequencePlayer::Rendering::prepare (renderSequence (*snapshot, &report), version);

    // Every pass of a phrase leaves out the same, so this phrase is logged once, here.
    if (! report.isComplete())
        juce::Logger::writeToLog ("Phrase " + juce::String (slot + 1) + " is too dense to play in full: " + report.describe());
    auto& slotPlayer = player.getPlayer (slot);

    if (nextPassesFromWorker > 0 && ! isNonRealtime())
    {
        const auto retiredByFullLoad = slotPlayer.loadFull (std::move (first));

        // Asked for after the full load, which drops whatever pending pass it finds.
        pendingNeeded (slot);
    }
    else
    {
        auto second = MidiMessageSequencePlayer::Rendering::prepare (renderSequence (*snapshot), version);
        const auto retiredByFullLoad = slotPlayer.loadFull (std::move (first));
        const auto retiredByPendingLoad = slotPlayer.loadPending (std::move (second));
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

void AdvancedSequenceManager::setSequence (const Sequence& sequence, void* source)
{
    setSequence (player.getCurrentIndex(), sequence, source);
}

int AdvancedSequenceManager::getNumSequences() const
{
    const std::lock_guard<std::mutex> guard (storedLock);
    return numStored;
}

const Sequence& AdvancedSequenceManager::getSequence (int slot) const
{
    static const Sequence empty;
    const std::lock_guard<std::mutex> guard (storedLock);

    if (! juce::isPositiveAndBelow (slot, numStored))
        return empty;

    return *stored[(size_t) slot].sequence;
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
        worker->notify();
}

void AdvancedSequenceManager::prepare (double sampleRate)
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

    // The player's lock is released here, so loading the next pass cannot wait on itself.
    if (isNonRealtime())
        renderRequestedPasses();

    return result;
}

void AdvancedSequenceManager::pendingNeeded (int slot)
{
    if (! juce::isPositiveAndBelow (slot, numSlots))
        return;

    requestedPasses.fetch_or (1u << slot, std::memory_order_acq_rel);

    if (! isNonRealtime())
        worker->notify();
}

bool AdvancedSequenceManager::hasRenderingsInFlight() const noexcept
{
    return requestedPasses.load (std::memory_order_acquire) != 0 || rendersRunning.load (std::memory_order_acquire) != 0;
}

void AdvancedSequenceManager::renderRequestedPasses()
{
    rendersRunning.fetch_add (1, std::memory_order_acq_rel);
    const auto requests = requestedPasses.exchange (0, std::memory_order_acq_rel);

    for (int slot = 0; slot < numSlots; ++slot)
        if ((requests & (1u << slot)) != 0)
            renderNextPass (slot);

    rendersRunning.fetch_sub (1, std::memory_order_acq_rel);
}

void AdvancedSequenceManager::renderNextPass (int slot)
{
    const auto phrase = getStoredPhrase (slot);

    if (phrase.sequence == nullptr)
        return;

    // Each pass draws from its own generator: RandomSource mixes a counter into every seed,
    // so passes rendered in the same instant still differ.
    auto rendering = MidiMessageSequencePlayer::Rendering::prepare (renderSequence (*phrase.sequence), phrase.version);
    const auto retired = player.getPlayer (slot).loadPending (std::move (rendering));
}

} // namespace tarn

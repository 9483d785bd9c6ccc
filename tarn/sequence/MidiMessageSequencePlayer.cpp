#include "MidiMessageSequencePlayer.h"

#include "SequenceRenderer.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <cmath>

namespace tarn
{
namespace
{
    // A block whose start is this close to where the last one ended continues it.
    constexpr double restartTolerance = 0.1;

    // Ticks closer than this are the same tick: absorbs the rounding of tick arithmetic.
    constexpr double positionEpsilon = 0.00001;
} // namespace

/** What one call of playBlock needs while it walks the phrase. */
struct MidiMessageSequencePlayer::Block
{
    juce::MidiBuffer& output;
    int numSamples;
    double samplesPerTick;
    int startSample, stopSample;
    bool gateBefore;
    bool holdFilters;
    std::array<int, 3> endings {}; // samples at which the held notes end, in order
    int numEndings = 0, nextEnding = 0;
    int newMessages = 0;
    BlockResult result;

    void addEnding (int sample) noexcept
    {
        if (sample < 0)
            return;

        auto i = numEndings++;

        for (; i > 0 && endings[(size_t) i - 1] > sample; --i)
            endings[(size_t) i] = endings[(size_t) i - 1];

        endings[(size_t) i] = sample;
    }

    bool gateOpenAt (int sample) const noexcept
    {
        if (startSample >= 0 && sample >= startSample)
            return true;

        if (stopSample >= 0 && sample >= stopSample)
            return false;

        return gateBefore;
    }
};

//==============================================================================
MidiMessageSequencePlayer::Rendering MidiMessageSequencePlayer::Rendering::prepare (juce::MidiMessageSequence&& rendering,
                                                                                    juce::uint32 versionToUse)
{
    Rendering result;
    result.version = versionToUse;

    for (int i = 0; i < rendering.getNumEvents(); ++i)
    {
        const auto& message = rendering.getEventPointer (i)->message;

        if (message.getTimeStamp() > 0.0)
            break;

        if (LoopCountMarker::isMarker (message))
        {
            result.loopLimit = std::max (-1, LoopCountMarker::getLoopLimit (message));
            rendering.deleteEvent (i, false);
            break;
        }
    }

    result.length = rendering.getEndTime();
    result.events = std::make_unique<juce::MidiMessageSequence> (std::move (rendering));
    return result;
}

//==============================================================================
MidiMessageSequencePlayer::MidiMessageSequencePlayer()
    : hostType ((int) juce::PluginHostType().type)
{
    carriedEvents.reserve ((size_t) maxCarriedMessages);
}

MidiMessageSequencePlayer::~MidiMessageSequencePlayer() = default;

MidiMessageSequencePlayer::Retired MidiMessageSequencePlayer::loadFull (Rendering&& rendering)
{
    Retired retired;
    const std::lock_guard<std::mutex> guard (lock);

    retired.first = std::move (current);
    retired.second = std::move (pending);
    current = std::move (rendering.events);
    length = rendering.length;
    loopLimit = rendering.loopLimit;
    version = rendering.version;

    // The held notes end at the next block; that answers any carried note-off as well.
    clearHeldRequested = true;
    pendingReady = false;
    carriedEvents.clear();
    nextEventIndex = -1;
    resyncRequested = true;
    loopsPlayed = 0;
    startOffset = 0.0;
    return retired;
}

MidiMessageSequencePlayer::Retired MidiMessageSequencePlayer::loadPending (Rendering&& rendering)
{
    Retired retired;
    const std::lock_guard<std::mutex> guard (lock);

    // A pass rendered from a phrase that has since been replaced must not displace the new
    // phrase's own next pass.
    if (current == nullptr || rendering.version != version || std::abs (rendering.length - length) > positionEpsilon)
    {
        retired.first = std::move (rendering.events);
        return retired;
    }

    retired.first = std::move (pending);
    pending = std::move (rendering.events);
    pendingReady = true;
    return retired;
}

void MidiMessageSequencePlayer::prepare (double newSampleRate)
{
    const std::lock_guard<std::mutex> guard (lock);
    sampleRate = newSampleRate;
    nextEventIndex = -1;
    resyncRequested = true;
    hasExpectedPosition = false;
    expectedPosition = -1.0;
}

void MidiMessageSequencePlayer::setRoundingMode (int newMode)
{
    const std::lock_guard<std::mutex> guard (lock);
    roundingMode = newMode;
}

void MidiMessageSequencePlayer::setKeyswitchOptions (bool enable, bool hold, bool retrigger)
{
    const std::lock_guard<std::mutex> guard (lock);
    keyswitchEnable = enable;
    keyswitchHold = hold;
    keyswitchRetrigger = retrigger;
}

void MidiMessageSequencePlayer::endHeldNotes (juce::MidiBuffer& output, int sample)
{
    const std::lock_guard<std::mutex> guard (lock);
    heldNotes.endAll (output, std::max (0, sample));

    // Carried messages belong to the notes just ended or to a timeline that has stopped.
    carriedEvents.clear();
    resyncRequested = true;
}

void MidiMessageSequencePlayer::forgetHeldNotes()
{
    const std::lock_guard<std::mutex> guard (lock);
    heldNotes.clear();
    carriedEvents.clear();
    resyncRequested = true;
}

void MidiMessageSequencePlayer::resetLoopCountAndOrigin()
{
    const std::lock_guard<std::mutex> guard (lock);
    loopsPlayed = 0;
    startOffset = 0.0;
}

//==============================================================================
double MidiMessageSequencePlayer::getLength() const
{
    const std::lock_guard<std::mutex> guard (lock);
    return length;
}

int MidiMessageSequencePlayer::getLoopLimit() const
{
    const std::lock_guard<std::mutex> guard (lock);
    return loopLimit;
}

int MidiMessageSequencePlayer::getLoopsPlayed() const
{
    const std::lock_guard<std::mutex> guard (lock);
    return loopsPlayed;
}

bool MidiMessageSequencePlayer::isGateOpen() const
{
    const std::lock_guard<std::mutex> guard (lock);
    return gateOpen;
}

bool MidiMessageSequencePlayer::hasPendingRendering() const
{
    const std::lock_guard<std::mutex> guard (lock);
    return pendingReady;
}

bool MidiMessageSequencePlayer::hasRendering() const
{
    const std::lock_guard<std::mutex> guard (lock);
    return current != nullptr && current->getNumEvents() > 0;
}

juce::uint32 MidiMessageSequencePlayer::getVersion() const
{
    const std::lock_guard<std::mutex> guard (lock);
    return version;
}

int MidiMessageSequencePlayer::getNumHeldNotes() const
{
    const std::lock_guard<std::mutex> guard (lock);
    return heldNotes.size();
}

void MidiMessageSequencePlayer::addListener (Listener* listener)
{
    listeners.add (listener);
}

void MidiMessageSequencePlayer::removeListener (Listener* listener)
{
    listeners.remove (listener);
}

//==============================================================================
double MidiMessageSequencePlayer::positionInLoop (double tick) const noexcept
{
    // Never negative: a host's pre-roll lies in the pass before the one at tick 0.
    auto position = std::fmod (tick, length);

    if (position < 0.0)
        position += length;

    const auto nearestTick = std::round (position);

    if (std::abs (position - nearestTick) < positionEpsilon)
        position = nearestTick;

    return position >= length - positionEpsilon ? 0.0 : position;
}

int MidiMessageSequencePlayer::findFirstEventAtOrAfter (double tick) const noexcept
{
    int low = 0, high = current->getNumEvents();

    while (low < high)
    {
        const auto middle = (low + high) / 2;

        if (current->getEventPointer (middle)->message.getTimeStamp() < tick - positionEpsilon)
            low = middle + 1;
        else
            high = middle;
    }

    return low;
}

int MidiMessageSequencePlayer::toWholeSample (double exactSample) const noexcept
{
    // The slack keeps a message computed a hair past a sample boundary on that boundary.
    constexpr double slack = 1.0e-6;

    if (roundingMode == roundUp)
        return (int) std::ceil (exactSample - slack);

    if (roundingMode == roundDown)
        return (int) std::floor (exactSample + slack);

    return (int) std::floor (exactSample + 0.5);
}

//==============================================================================
MidiMessageSequencePlayer::BlockResult MidiMessageSequencePlayer::playBlock (juce::MidiBuffer& output,
                                                                             int numSamples,
                                                                             const BlockPosition& position,
                                                                             int startSample,
                                                                             int stopSample)
{
    const std::lock_guard<std::mutex> guard (lock);

    if (numSamples <= 0)
        return {};

    const auto clampSample = [numSamples] (int sample)
    { return sample >= 0 ? std::min (sample, numSamples - 1) : -1; };
    startSample = clampSample (startSample);
    stopSample = clampSample (stopSample);

    if (clearHeldRequested)
    {
        heldNotes.endAll (output, 0);
        clearHeldRequested = false;
    }

    const bool hold = keyswitchEnable && keyswitchHold;
    const bool retrigger = keyswitchEnable && keyswitchRetrigger && startSample >= 0;

    Block block { output, numSamples, 0.0, startSample, stopSample, gateOpen, hold, {}, 0, 0, 0, {} };

    // A keyswitch cuts what sounds: without hold at the press, with hold at the release. A
    // retrigger moves the phrase's origin, so what sounds from the old origin ends there too.
    if (startSample >= 0 && (! hold || retrigger))
        block.addEnding (startSample);

    if (stopSample >= 0 && hold)
        block.addEnding (stopSample);

    const auto gateAfter = startSample >= 0 ? true : (stopSample >= 0 ? false : gateOpen);
    const bool hasPhrase = current != nullptr && current->getNumEvents() > 0 && length > 0.0;
    const bool canPlay = hasPhrase && position.isPlaying && position.hasMusicalTime() && sampleRate > 0.0
                         && std::isfinite (sampleRate);

    if (! canPlay)
    {
        // Without a running timeline no note-off can be placed later: end everything now.
        heldNotes.endAll (output, 0);
        carriedEvents.clear();
        gateOpen = gateAfter;
        hasExpectedPosition = false;
        wasPlaying = position.isPlaying;
        resyncRequested = true;
        return {};
    }

    if (! started)
    {
        started = true;

        if (pendingReady)
            swapInPending();
    }

    const auto ticksPerSample = ticksPerQuarter * position.bpm / (60.0 * sampleRate);
    block.samplesPerTick = 1.0 / ticksPerSample;

    auto startTick = position.ppqPosition * ticksPerQuarter;
    const bool restart = ! wasPlaying || ! hasExpectedPosition || std::abs (startTick - expectedPosition) >= restartTolerance;

    if (! restart)
        startTick = expectedPosition; // continue exactly where the last block ended

    const auto endTick = startTick + numSamples * ticksPerSample;
    wasPlaying = true;
    hasExpectedPosition = true;
    expectedPosition = endTick;

    if (position.hasUsableLoop())
    {
        const auto loopStartTick = position.loopStartPpq * ticksPerQuarter;
        const auto loopEndTick = position.loopEndPpq * ticksPerQuarter;

        if (startTick < loopEndTick - restartTolerance && endTick >= loopEndTick - restartTolerance)
            expectedPosition -= loopEndTick - loopStartTick;
    }

    if (! (keyswitchEnable && keyswitchRetrigger))
        startOffset = 0.0;

    bool resync = resyncRequested || nextEventIndex < 0;

    if (restart)
    {
        block.result.restarted = true;
        loopsPlayed = 0;
        startOffset = 0.0;
        heldNotes.endAll (output, 0);
        carriedEvents.clear();
        resync = true;
    }

    auto pos0 = positionInLoop (startTick - startOffset);

    if (! resync)
    {
        // A host loop or a moved origin can move the phrase while the host runs on smoothly.
        const auto distance = std::abs (pos0 - expectedLoopPosition);

        if (std::min (distance, length - distance) > restartTolerance)
        {
            heldNotes.endAll (output, 0);
            carriedEvents.clear();
            resync = true;
        }
    }

    loopPosition.store (pos0, std::memory_order_relaxed);
    playCarried (block, startSample >= 0);

    if (resync)
    {
        nextEventIndex = findFirstEventAtOrAfter (pos0);
        resyncRequested = false;
    }

    if (retrigger)
    {
        if (! restart)
            playSpan (block, 0, startSample, pos0, false);

        restartLoopAt (block, startSample, startTick + startSample * ticksPerSample);
        playSpan (block, startSample, numSamples, 0.0, true);
    }
    else if (restart && startSample > 0)
    {
        // A player that was not running (a slot just selected) begins at the press.
        const auto pressPosition = positionInLoop (startTick + startSample * ticksPerSample - startOffset);
        nextEventIndex = findFirstEventAtOrAfter (pressPosition);
        playSpan (block, startSample, numSamples, pressPosition, true);
    }
    else
    {
        if (isSilent())
            heldNotes.endAll (output, 0);

        playSpan (block, 0, numSamples, pos0, true);
    }

    while (block.nextEnding < block.numEndings)
        heldNotes.endAll (output, block.endings[(size_t) block.nextEnding++]);

    gateOpen = gateAfter;
    expectedLoopPosition = positionInLoop (endTick - startOffset);
    block.result.silent = isSilent();
    return block.result;
}

void MidiMessageSequencePlayer::restartLoopAt (Block& block, int sample, double tick)
{
    while (block.nextEnding < block.numEndings && block.endings[(size_t) block.nextEnding] <= sample)
        heldNotes.endAll (block.output, block.endings[(size_t) block.nextEnding++]);

    startOffset = tick;
    loopsPlayed = 0;

    if (pendingReady)
        swapInPending();

    nextEventIndex = 0;
}

void MidiMessageSequencePlayer::playCarried (Block& block, bool keepOnlyNoteOffs)
{
    for (const auto& message : carriedEvents)
    {
        StartedNoteList::Note note;

        if (! keepOnlyNoteOffs || StartedNoteList::classify (message, note) == StartedNoteList::Kind::noteOff)
            emit (block, message, 0);
    }

    carriedEvents.clear();
}

void MidiMessageSequencePlayer::playSpan (Block& block, int fromSample, int toSample, double phraseTick, bool carryAtEnd)
{
    const auto spanTicks = (toSample - fromSample) / block.samplesPerTick;
    auto base = phraseTick; // the phrase tick at fromSample, in the current pass

    for (int passes = 0;;)
    {
        if (isSilent())
            return;

        const auto spanEnd = base + spanTicks;
        const bool passEnds = spanEnd >= length - positionEpsilon;
        playMessagesUpTo (block, passEnds ? length : spanEnd, base, fromSample, toSample, carryAtEnd);

        if (! passEnds)
            return;

        completePass (block);

        if (spanEnd - length < positionEpsilon)
            return; // the pass ends exactly with the span; the next one begins with the next block

        base -= length;

        if (++passes >= maxPassesPerBlock)
        {
            // Give up on the rest of this block rather than loop on; start clean next block.
            heldNotes.endAll (block.output, toSample - 1);
            resyncRequested = true;
            return;
        }
    }
}

void MidiMessageSequencePlayer::playMessagesUpTo (Block& block, double upTo, double base, int fromSample, int toSample, bool carryAtEnd)
{
    const auto numEvents = current->getNumEvents();

    while (nextEventIndex < numEvents)
    {
        const auto& message = current->getEventPointer (nextEventIndex)->message;
        const auto time = message.getTimeStamp();

        if (time > upTo + positionEpsilon)
            return;

        ++nextEventIndex;

        if (message.isMetaEvent())
            continue;

        // Anything the last block left behind by a hair comes at the span's first sample.
        const auto sample = std::max (fromSample, fromSample + toWholeSample ((time - base) * block.samplesPerTick));

        if (sample < toSample)
            emit (block, message, sample);
        else if (carryAtEnd && carriedEvents.size() < (size_t) maxCarriedMessages)
            carriedEvents.push_back (message);
        else if (carryAtEnd)
            emit (block, message, toSample - 1);
    }
}

void MidiMessageSequencePlayer::emit (Block& block, const juce::MidiMessage& message, int sample)
{
    while (block.nextEnding < block.numEndings && block.endings[(size_t) block.nextEnding] <= sample)
        heldNotes.endAll (block.output, block.endings[(size_t) block.nextEnding++]);

    StartedNoteList::Note note;
    const auto kind = StartedNoteList::classify (message, note);

    // A note-off only answers a note this player started, so nothing is ended twice, and a
    // closed gate never holds one back.
    if (kind == StartedNoteList::Kind::noteOff)
    {
        if (heldNotes.contains (note))
        {
            block.output.addEvent (message, sample);
            heldNotes.remove (note);
        }

        return;
    }

    if (block.holdFilters && ! block.gateOpenAt (sample))
        return;

    if (block.newMessages >= maxNewMessagesPerBlock)
        return;

    if (kind == StartedNoteList::Kind::noteOn && ! heldNotes.add (note))
        return;

    block.output.addEvent (message, sample);
    ++block.newMessages;
}

void MidiMessageSequencePlayer::completePass (Block& block)
{
    // Every wrap counts, a pass joined part-way included: the loop count is how many
    // times the phrase reaches its end.
    ++loopsPlayed;
    ++block.result.passesCompleted;
    listeners.call ([this] (Listener& l)
                    { l.looped (*this); });

    if (pendingReady)
        swapInPending();

    nextEventIndex = 0;
}

void MidiMessageSequencePlayer::swapInPending()
{
    // The old rendering waits in the pending slot; the next loader takes it out and frees it.
    std::swap (current, pending);
    pendingReady = false;
    listeners.call ([this] (Listener& l)
                    { l.pendingConsumed (*this); });
}

} // namespace tarn

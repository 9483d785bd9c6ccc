#include "MidiMessageSequencePlayer.h"

#include <array>
#include <cmath>

namespace tarn
{
namespace
{
    // Where the phrase itself should be, our own reckoning agrees to within this.
    constexpr double restartTolerance = 0.1;

    // Hosts count their timeline in units of their own (Ardour: 1/1920 quarter, half a tick)
    // and report each block's start rounded to one, or in milliseconds. A block that starts
    // this close to where the last one ended continues it; anything further is a jump.
    constexpr double hostJitterTicks = 2.0;
    constexpr double hostJitterSeconds = 0.002;

    // Within this the phrase keeps its own exact time (the host's rounding wanders around it);
    // beyond it the block is stretched to meet the host (a tempo that changes within blocks).
    constexpr double ownTimeTicks = 0.5;

    // Ticks closer than this are the same tick: absorbs the rounding of tick arithmetic.
    constexpr double positionEpsilon = 0.00001;
} // namespace

/** What one call of playBlock needs while it walks the phrase. */
struct MidiMessageSequencePlayer::Block
{
    juce::MidiBuffer& output;
    int numSamples;
    int startSample, stopSample;
    bool gateBefore, gateAfter;
    bool holdFilters;
    bool retrigger;
    double samplesPerTick = 0.0;
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

/** Where a block lies on the host's timeline and in the loop. */
struct MidiMessageSequencePlayer::Timeline
{
    double ticksPerSample = 0.0;
    double startTick = 0.0, endTick = 0.0; // on the host's timeline
    bool restart = false; // the transport started or jumped
    double pos0 = 0.0; // the loop tick at the block's first sample
};

//==============================================================================
MidiMessageSequencePlayer::MidiMessageSequencePlayer()
{
    carriedEvents.reserve ((size_t) maxCarriedMessages);
}

MidiMessageSequencePlayer::~MidiMessageSequencePlayer()
{
    delete current;
    delete pending;
}

void MidiMessageSequencePlayer::loadFull (Rendering&& rendering)
{
    handOver.postFull (std::move (rendering));
    handOver.collectGarbage();
}

bool MidiMessageSequencePlayer::loadPending (Rendering&& rendering)
{
    return handOver.postPending (std::move (rendering));
}

void MidiMessageSequencePlayer::prepare (double newSampleRate) noexcept
{
    preparedSampleRate.store (newSampleRate, std::memory_order_relaxed);
    positionForgetRequested.store (true, std::memory_order_release);
}

bool MidiMessageSequencePlayer::hasPendingRendering() const noexcept
{
    const auto ready = published.pendingVersion.load (std::memory_order_relaxed);
    return handOver.isPendingWaiting() || (ready != 0 && ready == getVersion());
}

const std::shared_ptr<const Sequence>& MidiMessageSequencePlayer::getPlayingSource() const noexcept
{
    static const std::shared_ptr<const Sequence> none;
    return current != nullptr ? current->source : none;
}

juce::uint32 MidiMessageSequencePlayer::getPlayingVersion() const noexcept
{
    return current != nullptr ? current->version : 0;
}

//==============================================================================
void MidiMessageSequencePlayer::setKeyswitchOptions (bool enable, bool hold, bool retrigger) noexcept
{
    keyswitchEnable = enable;
    keyswitchHold = hold;
    keyswitchRetrigger = retrigger;
}

void MidiMessageSequencePlayer::endHeldNotes (juce::MidiBuffer& output, int sample) noexcept
{
    heldNotes.endAll (output, std::max (0, sample));

    // Carried messages belong to the notes just ended or to a timeline that has stopped.
    carriedEvents.clear();
    resyncRequested = true;
    publish (published.playheadTick.load (std::memory_order_relaxed));
}

void MidiMessageSequencePlayer::forgetHeldNotes() noexcept
{
    heldNotes.clear();
    carriedEvents.clear();
    resyncRequested = true;
    publish (published.playheadTick.load (std::memory_order_relaxed));
}

void MidiMessageSequencePlayer::resetLoopCountAndOrigin() noexcept
{
    loopsPlayed = 0;
    startOffset = 0.0;
    publish (published.playheadTick.load (std::memory_order_relaxed));
}

void MidiMessageSequencePlayer::publish (double playheadTick) noexcept
{
    published.loopsPlayed.store (loopsPlayed, std::memory_order_relaxed);
    published.heldNotes.store (heldNotes.size(), std::memory_order_relaxed);
    published.gateOpen.store (gateOpen, std::memory_order_relaxed);
    published.pendingVersion.store (pendingReady && pending != nullptr ? pending->version : 0, std::memory_order_relaxed);
    published.playheadTick.store (playheadTick, std::memory_order_relaxed);
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
    const auto& events = *current->events;
    int low = 0, high = events.getNumEvents();

    while (low < high)
    {
        const auto middle = (low + high) / 2;

        if (events.getEventPointer (middle)->message.getTimeStamp() < tick - positionEpsilon)
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
    const auto mode = roundingMode.load (std::memory_order_relaxed);

    if (mode == roundUp)
        return (int) std::ceil (exactSample - slack);

    if (mode == roundDown)
        return (int) std::floor (exactSample + slack);

    return (int) std::floor (exactSample + 0.5);
}

bool MidiMessageSequencePlayer::hasPhrase() const noexcept
{
    return current != nullptr && current->hasEvents() && length > 0.0;
}

//==============================================================================
// The hand-over of renderings: the audio side of RenderingHandOver.

void MidiMessageSequencePlayer::takeLoadedRenderings (BlockResult& result) noexcept
{
    if (auto* full = handOver.takeFull())
    {
        result.retiredRenderings = current != nullptr || pending != nullptr;
        takeFullLoad (full);
    }

    takePendingPass (result);
}

void MidiMessageSequencePlayer::takeFullLoad (Rendering* rendering) noexcept
{
    handOver.retire (current);
    handOver.retire (pending);
    current = rendering;
    pending = nullptr;
    length = rendering->length;
    loopLimit = rendering->loopLimit;

    // The held notes end at the start of this block; that answers any carried note-off too.
    clearHeldRequested = true;
    pendingReady = false;
    carriedEvents.clear();
    nextEventIndex = -1;
    resyncRequested = true;
    loopsPlayed = 0;
    startOffset = 0.0;
}

void MidiMessageSequencePlayer::takePendingPass (BlockResult& result) noexcept
{
    auto* next = handOver.takePending();

    if (next == nullptr)
        return;

    result.retiredRenderings = true;

    if (current != nullptr && next->version == current->version && std::abs (next->length - length) <= positionEpsilon)
    {
        // What waited in the pending slot (the pass played last) goes to be freed.
        handOver.retire (pending);
        pending = next;
        pendingReady = true;
    }
    else if (current == nullptr || next->version > current->version)
    {
        handOver.putBackPending (next); // the pass of a full load that comes next block
    }
    else
    {
        // Drawn from a phrase replaced since: a fresh pass of this one is wanted instead.
        handOver.retire (next);
        result.needsNextPass = result.needsNextPass || ! pendingReady;
    }
}

void MidiMessageSequencePlayer::swapInPending (BlockResult& result) noexcept
{
    // The old rendering waits in the pending slot until the next pass replaces it.
    std::swap (current, pending);
    pendingReady = false;
    result.needsNextPass = true;
}

//==============================================================================
MidiMessageSequencePlayer::BlockResult MidiMessageSequencePlayer::playBlock (juce::MidiBuffer& output,
                                                                             int numSamples,
                                                                             const BlockPosition& position,
                                                                             int startSample,
                                                                             int stopSample)
{
    if (numSamples <= 0)
        return {};

    auto block = startBlock (output, numSamples, startSample, stopSample);
    takeLoadedRenderings (block.result);

    if (clearHeldRequested)
    {
        heldNotes.endAll (output, 0);
        clearHeldRequested = false;
    }

    if (! canPlay (position))
    {
        stopWithoutTimeline (block, position);
        return block.result;
    }

    if (! started)
    {
        started = true;

        if (pendingReady)
            swapInPending (block.result);
    }

    auto timeline = followTransport (block, position);
    const auto resync = realign (block, timeline);
    playCarried (block, block.startSample >= 0);

    if (resync)
    {
        nextEventIndex = findFirstEventAtOrAfter (timeline.pos0);
        resyncRequested = false;
    }

    playSpans (block, timeline);
    finishBlock (block, timeline);
    return block.result;
}

MidiMessageSequencePlayer::Block MidiMessageSequencePlayer::startBlock (juce::MidiBuffer& output, int numSamples, int startSample, int stopSample) noexcept
{
    if (positionForgetRequested.exchange (false, std::memory_order_acq_rel))
    {
        sampleRate = preparedSampleRate.load (std::memory_order_relaxed);
        nextEventIndex = -1;
        resyncRequested = true;
        hasExpectedPosition = false;
        expectedPosition = -1.0;
        expectedLoopShift = 0.0;
    }

    const auto clampSample = [numSamples] (int sample)
    { return sample >= 0 ? std::min (sample, numSamples - 1) : -1; };
    startSample = clampSample (startSample);
    stopSample = clampSample (stopSample);

    const bool hold = keyswitchEnable && keyswitchHold;
    const bool retrigger = keyswitchEnable && keyswitchRetrigger && startSample >= 0;
    const auto gateAfter = startSample >= 0 ? true : (stopSample >= 0 ? false : gateOpen);

    Block block { output, numSamples, startSample, stopSample, gateOpen, gateAfter, hold, retrigger, 0.0, {}, 0, 0, 0, {} };

    // A keyswitch cuts what sounds: without hold at the press, with hold at the release. A
    // retrigger moves the phrase's origin, so what sounds from the old origin ends there too.
    if (startSample >= 0 && (! hold || retrigger))
        block.addEnding (startSample);

    if (stopSample >= 0 && hold)
        block.addEnding (stopSample);

    return block;
}

bool MidiMessageSequencePlayer::canPlay (const BlockPosition& position) const noexcept
{
    return hasPhrase() && position.isPlaying && position.hasMusicalTime() && sampleRate > 0.0 && std::isfinite (sampleRate);
}

void MidiMessageSequencePlayer::stopWithoutTimeline (Block& block, const BlockPosition& position) noexcept
{
    // Without a running timeline no note-off can be placed later: end everything now.
    heldNotes.endAll (block.output, 0);
    carriedEvents.clear();
    gateOpen = block.gateAfter;
    hasExpectedPosition = false;
    wasPlaying = position.isPlaying;
    resyncRequested = true;
    publish (-1.0);
}

MidiMessageSequencePlayer::Timeline MidiMessageSequencePlayer::followTransport (Block& block, const BlockPosition& position) noexcept
{
    Timeline timeline;
    const auto nominalTicksPerSample = ticksPerQuarter * position.bpm / (60.0 * sampleRate);
    const auto nominalTicks = block.numSamples * nominalTicksPerSample;
    const auto hostStart = position.ppqPosition * ticksPerQuarter;

    // Where this block should start: where the last one ended, or, after a host loop's end,
    // that much earlier. The host's report picks the nearer.
    auto continuation = expectedPosition;

    if (expectedLoopShift > 0.0 && std::abs (hostStart - (expectedPosition - expectedLoopShift)) < std::abs (hostStart - expectedPosition))
        continuation -= expectedLoopShift;

    const auto drift = hostStart - continuation;
    const auto tolerance = std::max (hostJitterTicks, hostJitterSeconds * sampleRate * nominalTicksPerSample);
    timeline.restart = ! wasPlaying || ! hasExpectedPosition || std::abs (drift) >= tolerance;

    if (timeline.restart)
    {
        timeline.startTick = hostStart;
        timeline.endTick = hostStart + nominalTicks;
    }
    else
    {
        // Continue exactly where the last block ended, and end where the host will be, give
        // or take its rounding: nothing is played twice or skipped, and no drift adds up.
        const auto excess = std::max (0.0, std::abs (drift) - ownTimeTicks);
        const auto correction = std::copysign (std::min (excess, 0.5 * nominalTicks), drift);
        timeline.startTick = continuation;
        timeline.endTick = continuation + nominalTicks + correction;
    }

    timeline.ticksPerSample = (timeline.endTick - timeline.startTick) / block.numSamples;
    block.samplesPerTick = 1.0 / timeline.ticksPerSample;

    wasPlaying = true;
    hasExpectedPosition = true;
    expectedPosition = timeline.endTick;
    expectedLoopShift = 0.0;

    // The host's own loop: a block that reaches its end may be followed by one at its start,
    // which is no jump.
    if (position.hasUsableLoop())
    {
        const auto loopStartTick = position.loopStartPpq * ticksPerQuarter;
        const auto loopEndTick = position.loopEndPpq * ticksPerQuarter;

        if (timeline.startTick < loopEndTick && timeline.endTick >= loopEndTick - tolerance)
            expectedLoopShift = loopEndTick - loopStartTick;
    }

    if (! (keyswitchEnable && keyswitchRetrigger))
        startOffset = 0.0;

    return timeline;
}

bool MidiMessageSequencePlayer::realign (Block& block, Timeline& timeline) noexcept
{
    auto resync = resyncRequested || nextEventIndex < 0;

    if (timeline.restart)
    {
        block.result.restarted = true;
        loopsPlayed = 0;
        startOffset = 0.0;
        heldNotes.endAll (block.output, 0);
        carriedEvents.clear();
        resync = true;
    }

    timeline.pos0 = positionInLoop (timeline.startTick - startOffset);

    if (! resync)
    {
        // A host loop or a moved origin can move the phrase while the host runs on smoothly.
        const auto distance = std::abs (timeline.pos0 - expectedLoopPosition);

        if (std::min (distance, length - distance) > restartTolerance)
        {
            heldNotes.endAll (block.output, 0);
            carriedEvents.clear();
            resync = true;
        }
    }

    return resync;
}

void MidiMessageSequencePlayer::playCarried (Block& block, bool keepOnlyNoteOffs) noexcept
{
    for (const auto& message : carriedEvents)
    {
        StartedNoteList::Note note;

        if (! keepOnlyNoteOffs || StartedNoteList::classify (message, note) == StartedNoteList::Kind::noteOff)
            emit (block, message, 0);
    }

    carriedEvents.clear();
}

void MidiMessageSequencePlayer::playSpans (Block& block, const Timeline& timeline) noexcept
{
    if (block.retrigger)
    {
        // The phrase sounds from its old origin up to the press, and from its start after it.
        if (! timeline.restart)
            playSpan (block, 0, block.startSample, timeline.pos0, false);

        restartLoopAt (block, block.startSample, timeline.startTick + block.startSample * timeline.ticksPerSample);
        playSpan (block, block.startSample, block.numSamples, 0.0, true);
    }
    else if (timeline.restart && block.startSample > 0)
    {
        // A player that was not running (a slot just selected) begins at the press.
        const auto pressPosition = positionInLoop (timeline.startTick + block.startSample * timeline.ticksPerSample - startOffset);
        nextEventIndex = findFirstEventAtOrAfter (pressPosition);
        playSpan (block, block.startSample, block.numSamples, pressPosition, true);
    }
    else
    {
        if (isSilent())
            heldNotes.endAll (block.output, 0);

        playSpan (block, 0, block.numSamples, timeline.pos0, true);
    }
}

void MidiMessageSequencePlayer::finishBlock (Block& block, const Timeline& timeline) noexcept
{
    endHeldNotesUpTo (block, block.numSamples);

    gateOpen = block.gateAfter;
    expectedLoopPosition = positionInLoop (timeline.endTick - startOffset);
    block.result.silent = isSilent();
    publish (block.result.silent ? -1.0 : expectedLoopPosition);
}

//==============================================================================
void MidiMessageSequencePlayer::endHeldNotesUpTo (Block& block, int sample) noexcept
{
    while (block.nextEnding < block.numEndings && block.endings[(size_t) block.nextEnding] <= sample)
        heldNotes.endAll (block.output, block.endings[(size_t) block.nextEnding++]);
}

void MidiMessageSequencePlayer::restartLoopAt (Block& block, int sample, double tick) noexcept
{
    endHeldNotesUpTo (block, sample);

    startOffset = tick;
    loopsPlayed = 0;

    if (pendingReady)
        swapInPending (block.result);

    nextEventIndex = 0;
}

void MidiMessageSequencePlayer::playSpan (Block& block, int fromSample, int toSample, double phraseTick, bool carryAtEnd) noexcept
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

void MidiMessageSequencePlayer::playMessagesUpTo (Block& block, double upTo, double base, int fromSample, int toSample, bool carryAtEnd) noexcept
{
    const auto& events = *current->events;
    const auto numEvents = events.getNumEvents();

    while (nextEventIndex < numEvents)
    {
        const auto& message = events.getEventPointer (nextEventIndex)->message;
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

void MidiMessageSequencePlayer::emit (Block& block, const juce::MidiMessage& message, int sample) noexcept
{
    endHeldNotesUpTo (block, sample);

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

void MidiMessageSequencePlayer::completePass (Block& block) noexcept
{
    // Every wrap counts, a pass joined part-way included: the loop count is how many
    // times the phrase reaches its end.
    ++loopsPlayed;
    ++block.result.passesCompleted;

    // A pass that arrived during this block is still in time for this loop end.
    takePendingPass (block.result);

    if (pendingReady)
        swapInPending (block.result);
    else
        block.result.needsNextPass = true; // the pass just played plays again: ask for a fresh one

    nextEventIndex = 0;
}

} // namespace tarn

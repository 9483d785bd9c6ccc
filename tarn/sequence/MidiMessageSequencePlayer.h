#pragma once

#include "BlockPosition.h"
#include "RenderingHandOver.h"
#include "StartedNoteList.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <atomic>
#include <memory>
#include <vector>

namespace tarn
{

/** Plays one rendering of a phrase (a MidiMessageSequence in ticks) in a loop against the
    host's transport, block by block: every message lands at its sample inside the block,
    messages due exactly at or after the block's end are carried into the next one, and at
    every loop end the pending rendering (a fresh draw of the same phrase) takes over.

    It keeps the notes it has started, so that a restart, a jump of the transport, a
    keyswitch, a slot switch, a stop or a new phrase can always end them: every note-on it
    sends is answered by exactly one note-off.

    Thread contract: everything that plays belongs to the audio thread, which never waits.
    Loaders (the message thread, a host thread restoring a song, the render worker) post
    finished renderings through a lock-free hand-over that the audio thread takes at the
    start of a block; what it lets go of is freed by the loaders. The getters read atomics,
    from any thread.
*/
class MidiMessageSequencePlayer
{
public:
    using Rendering = PhraseRendering;

    enum RoundingMode
    {
        roundToNearest = 0,
        roundUp = 1,
        roundDown = 2
    };

    static constexpr int ticksPerQuarter = 960;

    /** What one block may start: note-ons, controllers and other messages. Note-offs of held
        notes are never limited. */
    static constexpr int maxNewMessagesPerBlock = 1024;
    static constexpr int maxCarriedMessages = 1024;

    /** A phrase far shorter than a block would otherwise loop without bound inside it. */
    static constexpr int maxPassesPerBlock = 64;

    /** An upper bound of the messages one block adds to the output: pre-size the buffer
        for it (about 16 bytes each). */
    static constexpr int maxMessagesPerBlock = maxNewMessagesPerBlock + 3 * StartedNoteList::capacity;

    struct BlockResult
    {
        bool restarted = false; // the transport started or jumped
        int passesCompleted = 0;
        bool silent = false; // the loop limit has been reached
        bool needsNextPass = false; // a loop end found no fresh pass, or used the one it had
        bool retiredRenderings = false; // renderings wait to be freed: collectGarbage()
    };

    MidiMessageSequencePlayer();

    /** Frees every rendering. [message thread, never while a block plays] */
    ~MidiMessageSequencePlayer();

    //==============================================================================
    /** The phrase itself changed: the next block plays this rendering from its start,
        restarts the pass count and the origin, and ends the held notes first. A full load not
        taken yet is replaced. [any thread but the audio thread] */
    void loadFull (Rendering&& rendering);

    /** Queues the next pass. Dropped (false) when it was rendered from another content than
        the last full load or has another length. [any thread but the audio thread; the audio
        thread itself only offline, between blocks] */
    bool loadPending (Rendering&& rendering);

    /** Frees the renderings the audio thread let go of. [any thread but the audio thread] */
    void collectGarbage() noexcept { handOver.collectGarbage(); }

    /** Sample rate; the next block forgets where the transport was. [message thread] */
    void prepare (double newSampleRate) noexcept;

    /** How a fractional sample offset is made whole. [any thread] */
    void setRoundingMode (int newMode) noexcept { roundingMode.store (newMode, std::memory_order_relaxed); }

    //==============================================================================
    /** Plays one block into `output`. `startSample` and `stopSample` are the samples at which a
        keyswitch started or stopped this player's phrase, or -1.

        A transport that is not playing, or a block without a usable tempo and position, plays
        nothing new and ends every held note at sample 0. [audio thread] */
    BlockResult playBlock (juce::MidiBuffer& output,
                           int numSamples,
                           const BlockPosition& position,
                           int startSample = -1,
                           int stopSample = -1);

    /** A note-off at `sample` for every note this player has started. For a transport stop,
        a panic, a switch away from this slot. [audio thread] */
    void endHeldNotes (juce::MidiBuffer& output, int sample) noexcept;

    /** Forgets the held notes without sending anything (someone else ended them). [audio thread] */
    void forgetHeldNotes() noexcept;

    /** The input was retriggered: the pass count starts again and the phrase's origin goes
        back to the host's timeline. [audio thread] */
    void resetLoopCountAndOrigin() noexcept;

    /** Copies of the keyswitch switches. Hold and retrigger only act while keyswitching is
        on. [audio thread] */
    void setKeyswitchOptions (bool enable, bool hold, bool retrigger) noexcept;

    /** The phrase the playing rendering was drawn from, to draw the next pass from (null
        when it was loaded without one), and which content of the slot that is.
        [audio thread] */
    const std::shared_ptr<const Sequence>& getPlayingSource() const noexcept;
    juce::uint32 getPlayingVersion() const noexcept;

    //==============================================================================
    // Lock-free reads. [any thread]

    /** Of the last full load, whether or not a block has taken it yet. */
    double getLength() const noexcept { return handOver.getLoadedLength(); }
    int getLoopLimit() const noexcept { return handOver.getLoadedLoopLimit(); }
    juce::uint32 getVersion() const noexcept { return handOver.getLoadedVersion(); }
    bool hasRendering() const noexcept { return handOver.loadedHasEvents(); }

    /** A next pass of the last full load is waiting or ready to be swapped in. */
    bool hasPendingRendering() const noexcept;

    /** As the last block left them. */
    int getLoopsPlayed() const noexcept { return published.loopsPlayed.load (std::memory_order_relaxed); }
    bool isGateOpen() const noexcept { return published.gateOpen.load (std::memory_order_relaxed); }
    int getNumHeldNotes() const noexcept { return published.heldNotes.load (std::memory_order_relaxed); }

    /** Where in the phrase the last block ended, in ticks; -1 when it played nothing (no
        phrase, the transport stopped, the loop limit reached). For a playhead display. */
    double getPlayheadTick() const noexcept { return published.playheadTick.load (std::memory_order_relaxed); }

private:
    struct Block;
    struct Timeline;

    // The steps of a block, in order.
    void takeLoadedRenderings (BlockResult& result) noexcept;
    Block startBlock (juce::MidiBuffer& output, int numSamples, int startSample, int stopSample) noexcept;
    bool canPlay (const BlockPosition& position) const noexcept;
    void stopWithoutTimeline (Block& block, const BlockPosition& position) noexcept;
    Timeline followTransport (Block& block, const BlockPosition& position) noexcept;
    bool realign (Block& block, Timeline& timeline) noexcept;
    void playCarried (Block& block, bool keepOnlyNoteOffs) noexcept;
    void playSpans (Block& block, const Timeline& timeline) noexcept;
    void finishBlock (Block& block, const Timeline& timeline) noexcept;

    // Walking the phrase.
    void playSpan (Block& block, int fromSample, int toSample, double phraseTick, bool carryAtEnd) noexcept;
    void playMessagesUpTo (Block& block, double upTo, double base, int fromSample, int toSample, bool carryAtEnd) noexcept;
    void emit (Block& block, const juce::MidiMessage& message, int sample) noexcept;
    void endHeldNotesUpTo (Block& block, int sample) noexcept;
    void completePass (Block& block) noexcept;
    void restartLoopAt (Block& block, int sample, double tick) noexcept;

    // The hand-over of renderings.
    void takeFullLoad (Rendering* rendering) noexcept;
    void takePendingPass (BlockResult& result) noexcept;
    void swapInPending (BlockResult& result) noexcept;

    bool hasPhrase() const noexcept;
    bool isSilent() const noexcept { return loopLimit >= 0 && loopsPlayed >= loopLimit; }
    double positionInLoop (double tick) const noexcept;
    int findFirstEventAtOrAfter (double tick) const noexcept;
    int toWholeSample (double exactSample) const noexcept;
    void publish (double playheadTick) noexcept;

    RenderingHandOver handOver;
    std::atomic<double> preparedSampleRate { 44100.0 };
    std::atomic<bool> positionForgetRequested { false };
    std::atomic<int> roundingMode { roundUp };

    // Everything below belongs to the audio thread.
    double sampleRate = 44100.0;
    Rendering* current = nullptr; // owned; the audio thread retires instead of deleting
    Rendering* pending = nullptr; // owned: the next pass, or the last one waiting to be retired
    bool pendingReady = false;
    double length = 15360.0;
    int loopLimit = -1;

    StartedNoteList heldNotes;
    std::vector<juce::MidiMessage> carriedEvents;

    bool hasExpectedPosition = false;
    double expectedPosition = -1.0; // host tick where the next block should begin
    double expectedLoopShift = 0.0; // or this much earlier: the last block reached the host loop's end
    double expectedLoopPosition = 0.0; // loop tick where the next block should begin
    bool wasPlaying = false;

    int nextEventIndex = -1;
    bool resyncRequested = true; // find the next event afresh at the next block
    bool clearHeldRequested = false;
    bool started = false;

    bool keyswitchEnable = false, keyswitchHold = false, keyswitchRetrigger = false;
    bool gateOpen = false;

    int loopsPlayed = 0;
    double startOffset = 0.0; // host tick at which the loop's tick 0 lies

    /** What the getters read, written at the end of each call on the audio thread. */
    struct Published
    {
        std::atomic<int> loopsPlayed { 0 }, heldNotes { 0 };
        std::atomic<bool> gateOpen { false };
        std::atomic<juce::uint32> pendingVersion { 0 }; // of a pass ready to swap in; 0 none
        std::atomic<double> playheadTick { -1.0 };
    } published;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiMessageSequencePlayer)
};

} // namespace tarn

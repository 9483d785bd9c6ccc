#pragma once

#include "BlockPosition.h"
#include "StartedNoteList.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <memory>
#include <mutex>
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

    Thread contract: the audio thread holds the lock for each whole block; a loader (the
    message thread or the manager's render worker) holds it only to exchange finished
    renderings and counters. Renderings are prepared and freed outside the lock, never on
    the audio thread.
*/
class MidiMessageSequencePlayer
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;

        /** The pending rendering has just become the current one; a new one is needed.
            Called on the audio thread with the player's lock held: only record the request. */
        virtual void pendingConsumed (MidiMessageSequencePlayer& player) = 0;

        /** The player has just passed its loop end. Audio thread, lock held. */
        virtual void looped (MidiMessageSequencePlayer& player) = 0;
    };

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

    /** A finished rendering, ready to be handed over. */
    struct Rendering
    {
        std::unique_ptr<juce::MidiMessageSequence> events;
        double length = 0.0;
        int loopLimit = -1;
        juce::uint32 version = 0; // which content of the slot it was rendered from

        /** Takes the loop-count marker out and reads the length. Allocates. [any thread] */
        static Rendering prepare (juce::MidiMessageSequence&& rendering, juce::uint32 version);
    };

    /** Renderings taken out of the player: they are freed when this goes out of scope, on
        the loader's thread. */
    struct Retired
    {
        std::unique_ptr<juce::MidiMessageSequence> first, second;
    };

    struct BlockResult
    {
        bool restarted = false; // the transport started or jumped
        int passesCompleted = 0;
        bool silent = false; // the loop limit has been reached
    };

    MidiMessageSequencePlayer();
    virtual ~MidiMessageSequencePlayer();

    //==============================================================================
    /** The phrase itself changed: plays this rendering from now on, restarts the pass count
        and the origin, and ends the held notes at the start of the next block.
        [message thread or worker; never the audio thread while it plays this player] */
    Retired loadFull (Rendering&& rendering);

    /** Queues the next pass. Dropped when it was rendered from another content or has
        another length. [message thread, worker, or the audio thread between blocks] */
    Retired loadPending (Rendering&& rendering);

    /** Sample rate, and forgets where the transport was. [message thread] */
    void prepare (double newSampleRate);

    /** How a fractional sample offset is made whole. [message thread] */
    void setRoundingMode (int newMode);

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
    void endHeldNotes (juce::MidiBuffer& output, int sample);

    /** Forgets the held notes without sending anything (someone else ended them). [audio thread] */
    void forgetHeldNotes();

    /** The input was retriggered: the pass count starts again and the phrase's origin goes
        back to the host's timeline. [audio thread] */
    void resetLoopCountAndOrigin();

    /** Copies of the keyswitch switches. Hold and retrigger only act while keyswitching is
        on. [audio thread] */
    void setKeyswitchOptions (bool enable, bool hold, bool retrigger);

    //==============================================================================
    // State, each read under the lock. [any thread but the audio thread inside a block]
    double getLength() const;
    int getLoopLimit() const;
    int getLoopsPlayed() const;
    bool isGateOpen() const;
    bool hasPendingRendering() const;
    bool hasRendering() const;
    juce::uint32 getVersion() const;
    int getNumHeldNotes() const;

    /** Where in the loop the last block began, in ticks. [any thread] */
    double getLoopPosition() const noexcept { return loopPosition.load (std::memory_order_relaxed); }

    /** The host type as the framework reported it when the player was made. */
    int getHostType() const noexcept { return hostType; }

    void addListener (Listener* listener); // [message thread]
    void removeListener (Listener* listener); // [message thread]

private:
    struct Block;

    void playSpan (Block& block, int fromSample, int toSample, double phraseTick, bool carryAtEnd);
    void playMessagesUpTo (Block& block, double upTo, double base, int fromSample, int toSample, bool carryAtEnd);
    void emit (Block& block, const juce::MidiMessage& message, int sample);
    void playCarried (Block& block, bool keepOnlyNoteOffs);
    void completePass (Block& block);
    void swapInPending();
    void restartLoopAt (Block& block, int sample, double tick);
    bool isSilent() const noexcept { return loopLimit >= 0 && loopsPlayed >= loopLimit; }
    double positionInLoop (double tick) const noexcept;
    int findFirstEventAtOrAfter (double tick) const noexcept;
    int toWholeSample (double exactSample) const noexcept;

    mutable std::mutex lock;

    double sampleRate = 44100.0;
    int roundingMode = roundUp;
    std::unique_ptr<juce::MidiMessageSequence> current, pending;
    bool pendingReady = false;
    double length = 15360.0;
    int loopLimit = -1;
    juce::uint32 version = 0;

    StartedNoteList heldNotes;
    std::vector<juce::MidiMessage> carriedEvents;

    bool hasExpectedPosition = false;
    double expectedPosition = -1.0; // host tick where the next block should begin
    double expectedLoopPosition = 0.0; // loop tick where the next block should begin
    bool wasPlaying = false;
    std::atomic<double> loopPosition { 0.0 };

    int nextEventIndex = -1;
    bool resyncRequested = true; // find the next event afresh at the next block
    bool clearHeldRequested = false;
    bool started = false;

    bool keyswitchEnable = false, keyswitchHold = false, keyswitchRetrigger = false;
    bool gateOpen = false;

    int loopsPlayed = 0;
    double startOffset = 0.0; // host tick at which the loop's tick 0 lies

    const int hostType;

    juce::ListenerList<Listener, juce::Array<Listener*, juce::CriticalSection>> listeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiMessageSequencePlayer)
};

} // namespace tarn

#pragma once

#include "HeldNoteList.h"
#include "InputNoteTable.h"
#include "KeyLock.h"
#include "KeySignature.h"
#include "KeyswitchExtractor.h"
#include "NotePassthrough.h"
#include "OutputNoteTracker.h"
#include "PhraseManager.h"
#include "PipelineSettings.h"
#include "PlaybackDisplay.h"
#include "ProcessorRequests.h"
#include "RowResolver.h"
#include "ScreenKeyboardQueue.h"
#include "Swing.h"
#include "TransportFollower.h"

#include <tarn/processor/AudioThreadSnapshot.h>
#include <tarn/processor/NoteLatcher.h>
#include <tarn/processor/NoteRangeClipper.h>
#include <tarn/processor/VelocityRandomiser.h>
#include <tarn/processor/VelocityScaler.h>

#include <optional>

/** Everything the audio thread does with one block: the held chord in, the phrase
    played through the rows and the output chain, MIDI out.

    It owns every real-time stage and runs them in a fixed order: parameter changes, swing
    grid, requested phrase, panic, controller preview, bypass, input controllers, on-screen
    keyboard, transport, input retrigger, refresh, keyswitches, note passthrough, latch and
    held notes, phrase playback and rows, key lock, velocity randomiser and scaler, swing,
    output range, output note tracker, controller passthrough, passthrough notes.

    Whatever ends the output (panic, preview, bypass, a refresh, the transport stopping)
    ends every note that sounds and makes every stage forget it, so no setting, edit or
    transport change can leave a note hanging.

    Requests from other threads arrive only through the processor's atomic words, the
    phrase manager's lock-free hand-overs and the on-screen keyboard's FIFO; what the editor
    shows leaves through triple buffers. A block never allocates (every buffer is sized in
    prepare), never takes a lock, never waits for another thread and never writes a file.
*/
class BlockPipeline
{
public:
    /** [message thread] */
    BlockPipeline (PhraseManager& phrases, ProcessorRequests& requests, const AtomicKeySignature& keySignature, const juce::AudioProcessorValueTreeState& parameters);

    /** Sizes every buffer and takes the sample rate; the next block reads every setting
        afresh. [message thread, or the host's prepare] */
    void prepare (double sampleRate, int maximumBlockSize);

    /** One block: `midi` holds the host's input and, on return, the plug-in's output. A
        block the host bypassed is bypassed as the `enable` switch bypasses it: what sounds
        ends, and the input passes. [audio thread] */
    void process (juce::MidiBuffer& midi,
                  int numSamples,
                  const std::optional<juce::AudioPlayHead::PositionInfo>& hostPosition,
                  bool bypassedByHost = false) noexcept;

    //==============================================================================
    /** The notes held at the input (after the latch), for the editor's keyboard and for
        generation. [any thread but the audio thread] */
    HeldNotes getHeldNotesSnapshot() const { return held.getSnapshot(); }

    /** The on-screen keyboard: notes played on it join the input at the next block.
        [message thread] */
    juce::MidiKeyboardState& getInputKeyboardState() noexcept { return screenKeys.getState(); }

    /** Playing phrase, playhead, sounding rows and notes as the last block left them.
        [any thread but the audio thread] */
    PlaybackDisplay getDisplay() const { return display.get(); }

    /** Without a DAW (the standalone app) there is no DAW transport to wait for: the internal
        clock runs whatever daw_transport_only says. [message thread, before the first block] */
    void setWithoutDawTransport (bool noDaw) noexcept { withoutDawTransport = noDaw; }

    /** For tests and diagnostics. [audio thread, or while no block runs] */
    const OutputNoteTracker& getOutputNoteTracker() const noexcept { return tracker; }
    const TransportFollower& getTransport() const noexcept { return transport; }

    /** How many events one block may carry through the pipeline without allocating. */
    static constexpr int maxEventsPerBlock = 8192;

private:
    using Settings = PipelineSettings;

    // Steps that can end the block early; each returns true when it did.
    bool handlePanic (juce::MidiBuffer& in, juce::MidiBuffer& out) noexcept;
    bool handleControllerPreview (juce::MidiBuffer& in, juce::MidiBuffer& out, int numSamples) noexcept;
    bool handleBypass (juce::MidiBuffer& in, juce::MidiBuffer& out, bool bypassedByHost) noexcept;

    void applyParameterChanges() noexcept;
    void applySwingGrid() noexcept;
    void applyRequestedPhrase() noexcept;
    void followKeyswitchedPhrase() noexcept;
    void publishDisplay (bool phrasePlayed) noexcept;
    void collectInputControllers (const juce::MidiBuffer& in) noexcept;
    void playPhrase (juce::MidiBuffer& in, int numSamples, const tarn::BlockPosition& position, const KeySignature& key) noexcept;
    void runOutputChain (juce::MidiBuffer& out, int numSamples, const tarn::BlockPosition& position, const KeySignature& key) noexcept;

    /** Note-offs at sample 0 for every output note, and every output stage forgets what it
        was tracking: swing's delayed events (their note-ons are either ended here or never
        sent), the sounding rows, the key lock's sent pitches, the range clipper's passed
        notes. */
    void endOutputNotes (juce::MidiBuffer& out) noexcept;

    /** The input side forgets the chord: held notes and the latch. */
    void forgetInputChord() noexcept;

    /** Every phrase player forgets the notes it started (they were ended at the output). */
    void forgetPhraseNotes() noexcept;

    /** Keyswitch presses and releases in a block that ends early are applied at the start
        of the next full block, so a gate opened by a press is never left open. */
    void keepKeyswitchEvents (juce::MidiBuffer& in) noexcept;
    void keepKeyswitchReleasesOfBypassedBlock (const juce::MidiBuffer& in) noexcept;

    void addAll (juce::MidiBuffer& target, const juce::MidiBuffer& source) noexcept;

    PhraseManager& phrases;
    ProcessorRequests& requests;
    const AtomicKeySignature& keySignature;
    Settings settings;

    double sampleRate = 44100.0;
    bool applyAllSettings = true;
    int swingGridChoice = 0;
    bool wasBypassed = false;
    int requestSeen = 0; // the requested phrase as this block found it

    InputNoteTable inputNotes;
    KeyswitchExtractor extractor { inputNotes };
    NotePassthrough passthrough { inputNotes };
    KeyswitchEvents keyswitchEvents, keptKeyswitchEvents;
    tarn::NoteLatcher latcher;
    HeldNoteList held;
    TransportFollower transport;
    bool withoutDawTransport = false;

    RowResolver resolver;
    KeyLock keyLock;
    tarn::VelocityRandomiser randomiser;
    tarn::VelocityScaler scaler;
    Swing swing;
    tarn::NoteRangeClipper clipper;
    OutputNoteTracker tracker;

    ScreenKeyboardQueue screenKeys;
    tarn::AudioThreadSnapshot<PlaybackDisplay> display;

    juce::MidiBuffer input, output, phraseEvents, chain, inputControllers, passthroughNotes;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BlockPipeline)
};

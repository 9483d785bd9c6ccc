#pragma once

#include "BlockPipeline.h"
#include "KeySignature.h"
#include "MessageThreadFollowUp.h"
#include "ParameterIds.h"
#include "PhraseManager.h"
#include "ProcessorRequests.h"
#include "state/DeferredPing.h"
#include "state/GenerationNodeUpkeep.h"
#include "state/PhraseTree.h"
#include "state/PlaybackTree.h"
#include "state/SettingsTree.h"

#include <brindlex/BrindlexProcessor.h>
#include <tarn/sequence/Sequence.h>

/** The plug-in: twelve phrase slots played against the chord held at the input. */
class Cadenzium2AudioProcessor : public brindlex::BrindlexProcessor
    , public tarn::AdvancedSequenceManager::Listener
    , public tarn::SwitchableSequencePlayer::Listener
    , public juce::ValueTree::Listener
    , private PhraseManager::EditListener
{
public:
    static constexpr const char* productName = "Cadenzium 2";
    static constexpr const char* versionString = "2.5.0";
    static constexpr int numPhrases = 12;

    Cadenzium2AudioProcessor();
    ~Cadenzium2AudioProcessor() override;

    //==============================================================================
    const juce::String getName() const override { return productName; }
    bool acceptsMidi() const override { return true; }
    bool producesMidi() const override { return true; }
    bool isMidiEffect() const override { return false; }
    double getTailLengthSeconds() const override { return 0.0; }
    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;

    bool hasEditor() const override { return true; }
    juce::AudioProcessorEditor* createEditor() override;

    /** Sample rate for the players and the pipeline; every setting is read afresh at the
        next block. [message thread, or the host's prepare] */
    void prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock) override;
    void releaseResources() override {}

    /** The block pipeline: the input chord and the play head's position in, the phrase
        through the rows and the output chain out. The audio is left untouched. A block the
        host bypassed is bypassed as the `enable` switch bypasses it. [audio thread] */
    void processBlockInternal (juce::AudioBuffer<float>& audio, juce::MidiBuffer& midi) override;

    /** Offline bounces render every next pass synchronously. [any thread: hosts call it from
        the audio thread too] */
    void setNonRealtime (bool isNonRealtime) noexcept override;

    /** Marks the parameter's group as changed for the next block, and keeps the output
        range's low bound at or below its high bound by moving the other bound (telling
        the host). [any thread] */
    void parameterChanged (const juce::String& parameterId, float newValue) override;

    /** The playing slot changed (a keyswitch or a request): logged, and the host hears a
        ping of `internal`. The block that switched left a notice; this runs when the message
        thread collects it. [message thread] */
    void sequenceNumberChanged (tarn::SwitchableSequencePlayer& switchable) override;

    /** A phrase was replaced: when it is the playing one, the notes that sound end at the
        next block. Logged, and `internal` is pinged afterwards on the message thread.
        [the thread that replaced it] */
    void sequenceManagerChanged (int slot, void* source) override;

    //==============================================================================
    // The saved state (Cadenzium2AudioProcessorState.cpp). Each holds the state lock; the
    // host calls them from its own thread as well as from the message thread.

    /** Brings the whole state tree up to date: "version", phrases, rows, controller types,
        "playback", "settings" and "generation". [message thread, or a host thread] */
    void writeStateTree() override;

    /** Writes the current swing, key lock, keyswitch switch and keyswitch range into the
        state tree's "playback" (the preset loader calls it before a load). [message thread] */
    void storeParameterSnapshot() override;

    /** Applies a whole state, in order: the four parameter values kept under "playback" (only
        when asked: preset loads do, host restores do not), key signature, swing grid, view
        settings, controller types, rows, phrases with the playing slot, controller generation
        settings. Missing parts keep what they were, except the rows. Ends by forgetting the
        undo history. [message thread, or a host thread] */
    void readStateTree (const juce::ValueTree& tree, bool applyParameterSnapshot) override;

    /** The host restores its own state: the phrases it replaces are not announced back to
        it as a change (which would mark a project modified as it opens). [message thread] */
    void setStateInformation (const void* data, int sizeInBytes) override;

    /** Key signature and swing grid from a state's "playback". [message thread, or a host thread] */
    void readPlaybackNode (const juce::ValueTree& tree) override;

    /** The view settings ("settings"), the hidden `internal` ping and the power switch are no
        part of what makes a preset: changing them does not mark the preset modified.
        [message thread] */
    void removeNonPresetState (juce::ValueTree& state) override;

    /** A change in the piano-roll settings is logged and announced to the host. [message thread] */
    void valueTreePropertyChanged (juce::ValueTree& tree, const juce::Identifier& property) override;

    /** The view settings the editor keeps with the song and the controller generation
        settings (one "cc_generator" child per lane). Each stays the same node for the
        processor's life, so the editor can listen to it; write through the setters below, which
        take the state lock. [message thread] */
    juce::ValueTree getPianoRollSettings() const noexcept { return pianoRollSettings; }
    juce::ValueTree getEditorSettings() const noexcept { return editorSettings; }
    juce::ValueTree getControllerGenerationSettings() const noexcept { return generationSettings.getNode(); }

    /** Each change is announced to the host through `internal`, as every edit of phrases,
        rows and lanes is: shortly after, on the message thread. [message thread] */
    void setPianoRollSetting (const juce::Identifier& property, const juce::var& value);
    void setEditorSetting (const juce::Identifier& property, const juce::var& value);
    void setControllerGenerationSetting (int lane, const juce::Identifier& property, const juce::var& value);

    /** Makes the `internal` ping that edits and settings changes asked for now, rather than
        at the next turn of the message loop. [message thread] */
    void flushStateChangePing() { stateChangePing.flush(); }

    //==============================================================================
    /** Nudges the hidden `internal` parameter so the host sees that non-parameter state
        changed. [message thread] */
    void pingInternalParameter();

    /** A copy of the sequence of a phrase slot (0..11). [any thread but the audio thread] */
    tarn::Sequence getPhrase (int index) const;

    /** The sequence of a phrase slot (0..11) without a copy; it stays valid while held,
        whatever replaces the slot. Hand it to EditCommands::editPhrase as the phrase an edit
        started from. [any thread but the audio thread] */
    std::shared_ptr<const tarn::Sequence> getPhraseSnapshot (int index) const;

    /** The twelve phrase slots and their players. Edits go through its setSequence
        [message thread]; the block pipeline plays through it [audio thread]. */
    PhraseManager& getPhraseManager() noexcept { return phraseManager; }
    const PhraseManager& getPhraseManager() const noexcept { return phraseManager; }

    /** Which parameter groups changed since the audio thread last looked. [any thread] */
    juce::uint32 peekPendingParameterChanges() const noexcept { return requests.pendingParameterChanges.load(); }

    //==============================================================================
    // Requests from the editor and the host state; the audio thread acts on them at its
    // next block.

    /** Asks for a phrase slot (0..11) to play. [message thread] */
    void requestPhrase (int index);

    /** The slot asked for last. [any thread] */
    int getRequestedPhrase() const noexcept { return requests.requestedPhraseIndex.load(); }

    /** The slot that plays. [any thread] */
    int getPlayingPhrase() const noexcept;

    /** Playing phrase, playhead, sounding rows and output notes as the last block left
        them: what the editor's playhead, rows and output keyboard show, copied without a
        lock the audio thread could wait on. [any thread but the audio thread] */
    PlaybackDisplay getPlaybackDisplay() const { return pipeline.getDisplay(); }

    /** Ends every note and resets, on the next block. [any thread] */
    void requestPanic() noexcept { requests.panic.store (1); }

    /** Sends one controller message (a lane's "Send MIDI Learn") on the next block, ending
        every sounding note first. Channel 1..16. [message thread] */
    void sendControllerPreview (int channel, int controller, int value);

    /** 1 swings sixteenths, 2 eighths, anything else quarter notes. [message thread] */
    void setSwingGridChoice (int choice) noexcept { requests.swingGridChoice.store (choice); }
    int getSwingGridChoice() const noexcept { return requests.swingGridChoice.load(); }

    /** The key the output key lock follows. A change ends the notes that sound in the old
        key. [message thread] */
    void setKeySignature (const KeySignature& key);
    KeySignature getKeySignature() const noexcept { return keySignature.load(); }

    /** The notes held at the input (after the latch), in the order they were pressed, for
        the editor's keyboard and for generation; copied without a lock the audio thread
        could wait on. [any thread but the audio thread] */
    HeldNotes getHeldNotesSnapshot() const { return pipeline.getHeldNotesSnapshot(); }

    /** The on-screen keyboard: its notes join the input at the next block. The output
        keyboard shows getPlaybackDisplay().soundingNotes. [message thread] */
    juce::MidiKeyboardState& getInputKeyboardState() noexcept { return pipeline.getInputKeyboardState(); }

    /** For tests. [message thread, while no block runs] */
    const BlockPipeline& getPipeline() const noexcept { return pipeline; }

    /** Passes on the slot changes and loop ends the audio thread left notice of, makes a
        ping asked for and frees the row list the audio thread let go of; a timer does this
        regularly. [message thread] */
    void flushAudioThreadNotices();

private:
    /** The state's part of construction: locks, listeners, the settings nodes. */
    void initialiseState();

    void rowsChanged() override;
    void controllerTypesChanged() override;
    void announceStateChange();

    PhraseManager phraseManager;
    ProcessorRequests requests;
    AtomicKeySignature keySignature;
    MessageThreadFollowUp audioThreadFollowUp { [this]
                                                { pingInternalParameter(); },
                                                [this]
                                                {
                                                    phraseManager.getRowHolder().collectGarbage();
                                                    phraseManager.getPlayer().dispatchNotifications();
                                                } };
    std::atomic<bool> restoringHostState { false };
    BlockPipeline pipeline { phraseManager, requests, keySignature, parameters };

    juce::ValueTree pianoRollSettings { SettingsTree::pianoRollType };
    juce::ValueTree editorSettings { SettingsTree::editorSettingsType };
    GenerationNodeUpkeep generationSettings;
    PhraseTreeSync phraseTreeSync;
    ControllerTypeList lastControllerTypes;
    std::atomic<bool> readingState { false };
    DeferredPing stateChangePing { [this]
                                   { pingInternalParameter(); } };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Cadenzium2AudioProcessor)
};

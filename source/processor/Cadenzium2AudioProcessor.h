#pragma once

#include "KeySignature.h"
#include "ParameterIds.h"
#include "PhraseManager.h"
#include "ProcessorRequests.h"

#include <brindlex/BrindlexProcessor.h>
#include <tarn/sequence/Sequence.h>

/** The plug-in: twelve phrase slots played against the chord held at the input. */
class Cadenzium2AudioProcessor : public brindlex::BrindlexProcessor
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

    void prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock) override;
    void releaseResources() override {}

    void processBlockInternal (juce::AudioBuffer<float>& audio, juce::MidiBuffer& midi) override;

    /** Offline bounces render every next pass synchronously. [any thread: hosts call it from
        the audio thread too] */
    void setNonRealtime (bool isNonRealtime) noexcept override;

    void parameterChanged (const juce::String& parameterId, float newValue) override;

    //==============================================================================
    /** Brings the phrases and rows in the state tree up to date. [message thread] */
    void writeStateTree() override;

    /** Applies a whole state: parameters, rows, phrases and the playing slot. [message thread] */
    void readStateTree (const juce::ValueTree& tree, bool applyParameterSnapshot) override;

    //==============================================================================
    /** Nudges the hidden `internal` parameter so the host sees that non-parameter state
        changed. [message thread] */
    void pingInternalParameter();

    /** The sequence of a phrase slot (0..11). [message thread] */
    const tarn::Sequence& getPhrase (int index) const;

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

private:
    PhraseManager phraseManager;
    ProcessorRequests requests;
    AtomicKeySignature keySignature;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Cadenzium2AudioProcessor)
};

#pragma once

#include "ParameterIds.h"

#include <brindlex/BrindlexProcessor.h>
#include <tarn/sequence/Sequence.h>

#include <array>

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
    void parameterChanged (const juce::String& parameterId, float newValue) override;

    //==============================================================================
    /** Nudges the hidden `internal` parameter so the host sees that non-parameter state
        changed. [message thread] */
    void pingInternalParameter();

    /** The sequence of a phrase slot (0..11). [message thread] */
    const tarn::Sequence& getPhrase (int index) const;

    /** Which parameter groups changed since the audio thread last looked. [any thread] */
    juce::uint32 peekPendingParameterChanges() const noexcept { return pendingParameterChanges.load(); }

private:
    std::array<tarn::Sequence, numPhrases> phrases;
    std::atomic<juce::uint32> pendingParameterChanges { 0 };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Cadenzium2AudioProcessor)
};

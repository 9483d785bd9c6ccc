#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

namespace tarn
{

/** A processor used as a building block inside another processor, never shown to a host:
    no programs, no editor, no state. Subclasses only process blocks. Built and prepared on
    the message thread; everything else runs on the owner's audio thread. */
class BaseEffectProcessor : public juce::AudioProcessor
{
public:
    explicit BaseEffectProcessor (const juce::String& effectName);
    ~BaseEffectProcessor() override;

    const juce::String getName() const override { return name; }

    void prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock) override;
    void releaseResources() override {}

    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return true; }
    bool producesMidi() const override { return true; }

    bool hasEditor() const override { return false; }
    juce::AudioProcessorEditor* createEditor() override { return nullptr; }

    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram (int index) override { juce::ignoreUnused (index); }
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override { juce::ignoreUnused (index, newName); }

    void getStateInformation (juce::MemoryBlock& destData) override { juce::ignoreUnused (destData); }
    void setStateInformation (const void* data, int sizeInBytes) override { juce::ignoreUnused (data, sizeInBytes); }

    using juce::AudioProcessor::processBlock;

private:
    const juce::String name;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BaseEffectProcessor)
};

} // namespace tarn

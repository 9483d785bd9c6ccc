#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

class Cadenzium2AudioProcessor;

/** The plug-in window. */
class Cadenzium2AudioProcessorEditor : public juce::AudioProcessorEditor
{
public:
    explicit Cadenzium2AudioProcessorEditor (Cadenzium2AudioProcessor& processor);
    ~Cadenzium2AudioProcessorEditor() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    juce::Label title;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Cadenzium2AudioProcessorEditor)
};

#include "Cadenzium2AudioProcessorEditor.h"

#include <source/processor/Cadenzium2AudioProcessor.h>

Cadenzium2AudioProcessorEditor::Cadenzium2AudioProcessorEditor (Cadenzium2AudioProcessor& p)
    : juce::AudioProcessorEditor (p)
{
    title.setText (p.getName() + " " + Cadenzium2AudioProcessor::versionString, juce::dontSendNotification);
    title.setJustificationType (juce::Justification::centred);
    addAndMakeVisible (title);
    setSize (640, 360);
}

Cadenzium2AudioProcessorEditor::~Cadenzium2AudioProcessorEditor() = default;

void Cadenzium2AudioProcessorEditor::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xff111111));
}

void Cadenzium2AudioProcessorEditor::resized()
{
    title.setBounds (getLocalBounds());
}

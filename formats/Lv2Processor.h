#pragma once

#include "ContinuousPlayHead.h"

#include <source/processor/Cadenzium2AudioProcessor.h>

/** The product as an LV2 plug-in: the same processor, reading the host's transport through a
    ContinuousPlayHead, since LV2 hosts report it only when it changes. */
class Lv2Processor final : public Cadenzium2AudioProcessor
{
public:
    /** [audio thread] */
    void processBlockInternal (juce::AudioBuffer<float>& audio, juce::MidiBuffer& midi) override;

private:
    ContinuousPlayHead transport;
};

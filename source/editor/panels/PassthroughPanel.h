#pragma once

#include "TablePanel.h"

/** "Passthrough": what of the input reaches the output unchanged. [message thread] */
class PassthroughPanel : public TablePanel
{
public:
    explicit PassthroughPanel (juce::AudioProcessorValueTreeState& parameters);
};

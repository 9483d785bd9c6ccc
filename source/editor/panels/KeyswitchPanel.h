#pragma once

#include "TablePanel.h"

/** "Keyswitches": switching phrases with the keys of one octave. [message thread] */
class KeyswitchPanel : public TablePanel
{
public:
    explicit KeyswitchPanel (juce::AudioProcessorValueTreeState& parameters);
};

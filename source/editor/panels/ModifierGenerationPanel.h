#pragma once

#include "TablePanel.h"

/** "Modifiers" of the generation sidebar: the ranges and chances generated notes draw their
    velocity, chance, transpose and octave from. [message thread] */
class ModifierGenerationPanel : public TablePanel
{
public:
    explicit ModifierGenerationPanel (juce::AudioProcessorValueTreeState& parameters);
};

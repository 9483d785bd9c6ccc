#include "ModifierGenerationPanel.h"

ModifierGenerationPanel::ModifierGenerationPanel (juce::AudioProcessorValueTreeState& params)
    : TablePanel ("Modifiers", params, ControlTables::modifierGeneration())
{
    build();
}

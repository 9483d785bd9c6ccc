#include "PassthroughPanel.h"

PassthroughPanel::PassthroughPanel (juce::AudioProcessorValueTreeState& params)
    : TablePanel ("Passthrough", params, ControlTables::passthrough())
{
    build();
}

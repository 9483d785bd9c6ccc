#include "KeyswitchPanel.h"

KeyswitchPanel::KeyswitchPanel (juce::AudioProcessorValueTreeState& params)
    : TablePanel ("Keyswitches", params, ControlTables::keyswitches())
{
    build();
}

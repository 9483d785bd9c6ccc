#include "NoteGenerationPanel.h"

NoteGenerationPanel::NoteGenerationPanel (juce::AudioProcessorValueTreeState& params)
    : TablePanel ("Note Generation", params, ControlTables::noteGeneration())
{
    build();
}

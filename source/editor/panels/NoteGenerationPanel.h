#pragma once

#include "TablePanel.h"

/** "Note Generation": mode, polyphony, note length and the densities generation draws
    from. [message thread] */
class NoteGenerationPanel : public TablePanel
{
public:
    explicit NoteGenerationPanel (juce::AudioProcessorValueTreeState& parameters);
};

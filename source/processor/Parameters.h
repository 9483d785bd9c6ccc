#pragma once

#include "ParameterIds.h"

#include <juce_audio_processors/juce_audio_processors.h>

/** The plug-in's parameter set: every parameter is a float parameter, made by one of
    four factories (switch, choice, percent-style and plain float with its own texts). */
namespace Parameters
{
juce::AudioProcessorValueTreeState::ParameterLayout createLayout();

/** "C3" for 60: note names with middle C in octave 3, as the output range shows them. */
juce::String noteName (int noteNumber);

/** Reads "C3", "c#3", "Db-1" or a plain number back into a note number; -1 when the
        text is neither. */
int parseNoteName (const juce::String& text);

/** The choice texts of the keyswitch range: "C-2 : B-2" ... "C8 : G8". */
juce::StringArray keyswitchRangeChoices();

/** The keyswitch octave's lowest note for a range choice: 12 * choice. */
constexpr int keyswitchRangeLowestNote (int rangeChoice) noexcept { return 12 * rangeChoice; }
} // namespace Parameters

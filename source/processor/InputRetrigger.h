#pragma once

#include "HeldNoteList.h"
#include "KeyswitchExtractor.h"

/** input_retrigger: which input notes restart the phrase. */
namespace InputRetrigger
{
enum Mode
{
    off = 0,
    noteOnAndOff = 1,
    noteOn = 2,
    noteOff = 3,
    allNotesOff = 4 // the first note-on while no input note is held
};

/** The sample of the block's first trigger, or -1. Keyswitch notes never trigger. For
    allNotesOff, heldAtBlockStart is the held-note list before this block; it is followed
    through the block's notes, so legato playing never triggers and a note after a full
    release does. Runs before keyswitch extraction. [audio thread] */
int findTrigger (const juce::MidiBuffer& input, int mode, const KeyswitchExtractor& keyswitches, const HeldNotes& heldAtBlockStart) noexcept;

/** The trigger's position in quarter notes. */
inline double positionOf (int sample, double blockPpq, double bpm, double sampleRate) noexcept
{
    return sampleRate > 0.0 ? blockPpq + sample * bpm / (60.0 * sampleRate) : blockPpq;
}
} // namespace InputRetrigger

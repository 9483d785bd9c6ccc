#pragma once

#include <tarn/sequence/Sequence.h>

#include <juce_audio_basics/juce_audio_basics.h>

/** A MIDI file turned into a phrase: every note with its note-off becomes a note, each
    distinct pitch one row, lowest pitch on row 0. */
struct ImportedPattern
{
    tarn::Sequence sequence;

    /** How many rows the phrase uses (its distinct pitches). */
    int rowsUsed = 0;
};

namespace MidiPatternImport
{
inline constexpr const char* noUsableNotesMessage = "The selected file does not contain any usable MIDI notes.";

/** Reads the file. A file that cannot be read, is larger than any pattern, or holds no note
    with its note-off, fails with the message above and leaves `result` alone: the edited
    phrase must not be replaced by an empty bar the user never asked for. `emptyLanes` are
    the lanes every phrase carries (the processor's controller types), added without points.
    Every event and every note-on without its note-off is logged. [message thread] */
juce::Result importFile (const juce::File& file, const std::vector<tarn::ControllerLane>& emptyLanes, ImportedPattern& result);

/** The same, from bytes already open; `pathForLog` names them in the log. [message thread] */
juce::Result importStream (juce::InputStream& stream, const juce::String& pathForLog, const std::vector<tarn::ControllerLane>& emptyLanes, ImportedPattern& result);

/** The bar length of a time-signature meta event's data, or 0 when the event does not
    describe a usable bar (numerator 1..64, denominator 1..64 as a power of two). [any thread] */
int barTicksForTimeSignature (const juce::MidiMessage& timeSignature, int& numerator, int& denominator);
} // namespace MidiPatternImport

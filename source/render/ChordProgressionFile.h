#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

/** A chord progression read from a standard MIDI file, ready to be played through the
    plug-in: the note-ons and note-offs of every track in one time-sorted sequence, with
    times in ticks at 960 per quarter note whatever the file's own resolution. */
struct ChordProgression
{
    juce::MidiMessageSequence events;

    double getLastEventTime() const { return events.getNumEvents() > 0 ? events.getEndTime() : 0.0; }
};

namespace ChordProgressionFile
{
inline constexpr const char* missingFileMessage = "The selected MIDI file does not exist.";
inline constexpr const char* noUsableNotesMessage = "The selected file does not contain any usable MIDI notes.";
inline constexpr const char* tooLongMessage = "The selected MIDI file is too long to render.";

/** The largest file either reader accepts. Chord progressions and patterns take kilobytes;
    a file of millions of events would be held in memory whole before a single check. */
inline constexpr juce::int64 maxFileBytes = 4 * 1024 * 1024;

/** The latest chord event a render accepts: 1024 bars of 4/4, over half an hour at 120 bpm. */
inline constexpr double maxLastEventTicks = 1024.0 * 3840.0;

/** A note-on or note-off whose data bytes are valid MIDI: a file can hold any byte there,
    and a note number above 127 indexes past every per-note table. [any thread] */
bool isUsableNoteEvent (const juce::MidiMessage& message) noexcept;

/** Reads the note events of every track. Fails with one of the messages above. [any thread] */
juce::Result read (const juce::File& file, ChordProgression& progression);

/** The same, from bytes already in memory. */
juce::Result read (juce::InputStream& stream, ChordProgression& progression);
} // namespace ChordProgressionFile

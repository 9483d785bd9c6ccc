#include "ChordProgressionFile.h"

#include <tarn/processor/NoteTable.h>

#include <algorithm>
#include <vector>

namespace ChordProgressionFile
{

bool isUsableNoteEvent (const juce::MidiMessage& message) noexcept
{
    const auto* data = message.getRawData();
    return message.getRawDataSize() == 3 && data[0] >= 0x80 && data[0] <= 0x9f && data[1] < 0x80 && data[2] < 0x80;
}

juce::Result read (const juce::File& file, ChordProgression& progression)
{
    if (! file.existsAsFile())
        return juce::Result::fail (missingFileMessage);

    juce::FileInputStream stream (file);

    if (! stream.openedOk())
        return juce::Result::fail (missingFileMessage);

    return read (stream, progression);
}

juce::Result read (juce::InputStream& stream, ChordProgression& progression)
{
    progression.events.clear();

    if (stream.getTotalLength() > maxFileBytes)
        return juce::Result::fail (tooLongMessage);

    juce::MidiFile midi;

    // A division of 0 cannot be turned into ticks, any more than SMPTE time can. The reader
    // does not pair notes: it searches ahead for every note-off, which takes minutes on a file
    // of many strikes that are never released. Re-strikes are ended below instead.
    if (! midi.readFrom (stream, false) || midi.getNumTracks() == 0 || midi.getTimeFormat() <= 0
        || midi.getTrack (0)->getNumEvents() == 0)
        return juce::Result::fail (noUsableNotesMessage);

    const auto scale = 960.0 / midi.getTimeFormat();
    std::vector<juce::MidiMessage> notes;

    for (int t = 0; t < midi.getNumTracks(); ++t)
    {
        // A track that strikes a sounding pitch again releases it first, as MIDI readers do.
        tarn::NoteTable<bool> sounding;

        for (const auto* holder : *midi.getTrack (t))
        {
            const auto& message = holder->message;

            if (! isUsableNoteEvent (message))
                continue;

            const auto time = message.getTimeStamp() * scale;
            auto& isSounding = sounding.at (message.getChannel() - 1, message.getNoteNumber());

            if (isSounding && message.isNoteOn())
                notes.push_back (juce::MidiMessage::noteOff (message.getChannel(), message.getNoteNumber()).withTimeStamp (time));

            isSounding = message.isNoteOn();
            notes.push_back (message.withTimeStamp (time));
        }
    }

    // At one time, releases come before presses whichever track holds them: a bass track
    // ending a pitch that the chord track strikes anew must not cut the new note short.
    std::stable_sort (notes.begin(), notes.end(), [] (const juce::MidiMessage& a, const juce::MidiMessage& b)
                      {
                          if (a.getTimeStamp() != b.getTimeStamp())
                              return a.getTimeStamp() < b.getTimeStamp();

                          return a.isNoteOff() && ! b.isNoteOff(); });

    for (const auto& message : notes)
        progression.events.addEvent (message);

    if (progression.events.getNumEvents() == 0)
        return juce::Result::fail (noUsableNotesMessage);

    if (progression.getLastEventTime() > maxLastEventTicks)
    {
        progression.events.clear();
        return juce::Result::fail (tooLongMessage);
    }

    return juce::Result::ok();
}

} // namespace ChordProgressionFile

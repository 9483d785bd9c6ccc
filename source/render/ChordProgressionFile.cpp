#include "ChordProgressionFile.h"

#include <algorithm>
#include <vector>

namespace ChordProgressionFile
{

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
    juce::MidiFile midi;

    // A division of 0 cannot be turned into ticks, any more than SMPTE time can.
    if (! midi.readFrom (stream) || midi.getNumTracks() == 0 || midi.getTimeFormat() <= 0
        || midi.getTrack (0)->getNumEvents() == 0)
        return juce::Result::fail (noUsableNotesMessage);

    const auto scale = 960.0 / midi.getTimeFormat();
    std::vector<juce::MidiMessage> notes;

    for (int t = 0; t < midi.getNumTracks(); ++t)
    {
        for (const auto* holder : *midi.getTrack (t))
        {
            const auto& message = holder->message;
            const auto status = message.getRawData()[0];

            if (message.getRawDataSize() >= 3 && status >= 0x80 && status <= 0x9f)
            {
                notes.push_back (message);
                notes.back().setTimeStamp (message.getTimeStamp() * scale);
            }
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

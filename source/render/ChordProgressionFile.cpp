#include "ChordProgressionFile.h"

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

    for (int t = 0; t < midi.getNumTracks(); ++t)
    {
        const auto& track = *midi.getTrack (t);

        for (const auto* holder : track)
        {
            const auto& message = holder->message;
            const auto status = message.getRawData()[0];

            if (message.getRawDataSize() >= 3 && status >= 0x80 && status <= 0x9f)
            {
                auto copy = message;
                copy.setTimeStamp (message.getTimeStamp() * scale);
                progression.events.addEvent (copy);
            }
        }
    }

    progression.events.sort();

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

#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

namespace cadenzium::test
{

/** Standard MIDI files written in memory for tests. */
struct MidiFileBuilder
{
    explicit MidiFileBuilder (int ticksPerQuarter = 960) { file.setTicksPerQuarterNote (ticksPerQuarter); }

    /** Adds a track; times are in the file's own ticks. */
    juce::MidiMessageSequence& addTrack()
    {
        tracks.add (new juce::MidiMessageSequence());
        return *tracks.getLast();
    }

    static void addNote (juce::MidiMessageSequence& track, int pitch, double on, double off, int velocity = 100, int channel = 1)
    {
        track.addEvent (juce::MidiMessage::noteOn (channel, pitch, (juce::uint8) velocity), on);
        track.addEvent (juce::MidiMessage::noteOff (channel, pitch), off);
    }

    juce::MemoryBlock build()
    {
        for (auto* t : tracks)
        {
            t->sort();
            file.addTrack (*t);
        }

        juce::MemoryBlock bytes;
        juce::MemoryOutputStream out (bytes, false);
        file.writeTo (out, 1);
        out.flush();
        return bytes;
    }

    juce::MidiFile file;
    juce::OwnedArray<juce::MidiMessageSequence> tracks;
};

} // namespace cadenzium::test

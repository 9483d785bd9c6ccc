#pragma once

#include <source/render/ChordProgressionFile.h>
#include <tests/support/TemporaryFolder.h>

#include <juce_audio_basics/juce_audio_basics.h>

#include <utility>
#include <vector>

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

/** Chords held for a bar each, one after the other. */
inline juce::File writeChords (const TemporaryFolder& folder, const std::vector<std::vector<int>>& chords, int ticksPerQuarter = 960, const char* name = "Progression.mid")
{
    MidiFileBuilder builder (ticksPerQuarter);
    auto& track = builder.addTrack();
    const auto bar = 4 * ticksPerQuarter;

    for (size_t i = 0; i < chords.size(); ++i)
        for (auto pitch : chords[i])
            MidiFileBuilder::addNote (track, pitch, (double) i * bar, (double) (i + 1) * bar);

    const auto file = juce::File (folder.string()).getChildFile (name);
    const auto bytes = builder.build();
    file.replaceWithData (bytes.getData(), bytes.getSize());
    return file;
}

/** A file header followed by raw track bytes. */
inline juce::MemoryBlock smfBytes (int tracks, int division, std::initializer_list<unsigned char> trackBytes = {})
{
    juce::MemoryOutputStream out;
    out.write ("MThd", 4);
    out.writeIntBigEndian (6);
    out.writeShortBigEndian (1);
    out.writeShortBigEndian ((short) tracks);
    out.writeShortBigEndian ((short) division);

    for (auto b : trackBytes)
        out.writeByte ((char) b);

    return out.getMemoryBlock();
}

/** One track holding one note from tick 0 to 10, written by hand so the header and the
    note's data bytes can lie. */
inline juce::MemoryBlock oneNoteFile (int division, unsigned char pitch = 60)
{
    return smfBytes (1, division, { 'M', 'T', 'r', 'k', 0, 0, 0, 12, 0, 0x90, pitch, 100, 10, 0x80, pitch, 0, 0, 0xff, 0x2f, 0 });
}

/** A well-formed file of one track too big to be a pattern: millions of short notes. */
inline juce::MemoryBlock hugeFile()
{
    const auto trackBytes = 3 * (int) (ChordProgressionFile::maxFileBytes / 3) + 4;
    juce::MemoryOutputStream out;
    out.write ("MTrk", 4);
    out.writeIntBigEndian (trackBytes + 4);
    out.write ("\x00\x90\x3c\x64", 4);

    // Running status: releases (velocity 0) and strikes by turns, a tick apart.
    for (int i = 0; i < trackBytes / 3 - 1; ++i)
        out.write (i % 2 == 0 ? "\x01\x3c\x00" : "\x01\x3c\x64", 3);

    out.write ("\x00\xff\x2f\x00", 4);
    auto file = smfBytes (1, 960);
    file.append (out.getData(), out.getDataSize());
    return file;
}

/** Files a user might pick by mistake, or that were cut short or made to harm: none of them
    holds a note that can be used, while oneNoteFile (960) does. */
inline std::vector<std::pair<const char*, juce::MemoryBlock>> unusableMidiFiles()
{
    auto truncated = oneNoteFile (960);
    truncated.setSize (truncated.getSize() - 5);

    return {
        { "empty", {} },
        { "not MIDI", juce::MemoryBlock ("RIFF....WAVEfmt this is audio", 29) },
        { "cut inside the header", juce::MemoryBlock (smfBytes (1, 960).getData(), 10) },
        { "zero tracks", smfBytes (0, 960) },
        { "truncated track", truncated },
        { "absurd track length", smfBytes (1, 960, { 'M', 'T', 'r', 'k', 0x7f, 0xff, 0xff, 0xff, 0, 0x90, 60, 100, 10, 0x80, 60, 0 }) },
        { "SMPTE time", oneNoteFile ((short) 0xe728) },
        { "division 0", oneNoteFile (0) },
        { "note number above 127", oneNoteFile (960, 0xc8) },
    };
}

} // namespace cadenzium::test

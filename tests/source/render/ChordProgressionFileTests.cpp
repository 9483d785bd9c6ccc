#include "MidiFileBuilder.h"

#include <source/render/ChordProgressionFile.h>

#include <gtest/gtest.h>

using cadenzium::test::MidiFileBuilder;

namespace
{
juce::Result readBytes (const juce::MemoryBlock& bytes, ChordProgression& progression)
{
    juce::MemoryInputStream stream (bytes, false);
    return ChordProgressionFile::read (stream, progression);
}

juce::MemoryBlock smfHeader (int format, int tracks, int division)
{
    juce::MemoryOutputStream out;
    out.write ("MThd", 4);
    out.writeIntBigEndian (6);
    out.writeShortBigEndian ((short) format);
    out.writeShortBigEndian ((short) tracks);
    out.writeShortBigEndian ((short) division);
    return out.getMemoryBlock();
}
} // namespace

TEST (ChordProgressionFile, timesAreRescaledToNineHundredSixtyTicksAndAllTracksMerge)
{
    MidiFileBuilder builder (480);
    auto& chords = builder.addTrack();
    MidiFileBuilder::addNote (chords, 60, 480, 960);
    auto& bass = builder.addTrack();
    MidiFileBuilder::addNote (bass, 36, 0, 1920);
    bass.addEvent (juce::MidiMessage::controllerEvent (1, 7, 100), 10);
    bass.addEvent (juce::MidiMessage::tempoMetaEvent (500000), 0);

    ChordProgression progression;
    ASSERT_TRUE (readBytes (builder.build(), progression).wasOk());

    ASSERT_EQ (progression.events.getNumEvents(), 4);
    EXPECT_DOUBLE_EQ (progression.events.getEventTime (0), 0.0);
    EXPECT_EQ (progression.events.getEventPointer (0)->message.getNoteNumber(), 36);
    EXPECT_DOUBLE_EQ (progression.events.getEventTime (1), 960.0);
    EXPECT_EQ (progression.events.getEventPointer (1)->message.getNoteNumber(), 60);
    EXPECT_DOUBLE_EQ (progression.getLastEventTime(), 3840.0);
}

TEST (ChordProgressionFile, filesWithoutUsableNotesFailWithTheUsersMessage)
{
    const juce::String expected = ChordProgressionFile::noUsableNotesMessage;
    ChordProgression progression;

    MidiFileBuilder controllersOnly;
    controllersOnly.addTrack().addEvent (juce::MidiMessage::controllerEvent (1, 1, 64), 0);
    EXPECT_EQ (readBytes (controllersOnly.build(), progression).getErrorMessage(), expected);

    EXPECT_EQ (readBytes (smfHeader (1, 0, 960), progression).getErrorMessage(), expected);

    // A division of 0 and SMPTE time both fail instead of dividing by zero.
    for (int division : { 0, -7936 })
    {
        auto bytes = smfHeader (0, 1, division);
        const unsigned char track[] = { 'M', 'T', 'r', 'k', 0, 0, 0, 8, 0, 0x90, 60, 100, 10, 0x80, 60, 0 };
        bytes.append (track, sizeof (track));
        EXPECT_EQ (readBytes (bytes, progression).getErrorMessage(), expected) << division;
    }

    // Truncated in the middle of a track, and a track claiming to be enormous.
    auto truncated = smfHeader (0, 1, 960);
    const unsigned char shortTrack[] = { 'M', 'T', 'r', 'k', 0x7f, 0xff, 0xff, 0xff, 0, 0x90, 60 };
    truncated.append (shortTrack, sizeof (shortTrack));
    EXPECT_EQ (readBytes (truncated, progression).getErrorMessage(), expected);

    const juce::MemoryBlock garbage ("not a midi file at all", 22);
    EXPECT_EQ (readBytes (garbage, progression).getErrorMessage(), expected);

    EXPECT_EQ (ChordProgressionFile::read (juce::File ("/nonexistent/chords.mid"), progression).getErrorMessage(),
               juce::String (ChordProgressionFile::missingFileMessage));
}

TEST (ChordProgressionFile, aProgressionLongerThanTheRenderLimitIsRefused)
{
    MidiFileBuilder builder (960);
    MidiFileBuilder::addNote (builder.addTrack(), 60, 0, ChordProgressionFile::maxLastEventTicks + 960.0);

    ChordProgression progression;
    EXPECT_EQ (readBytes (builder.build(), progression).getErrorMessage(),
               juce::String (ChordProgressionFile::tooLongMessage));
}

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
    const auto& e = progression.events;
    EXPECT_EQ (std::tuple (e.getEventTime (0), e.getEventPointer (0)->message.getNoteNumber(), e.getEventTime (1), e.getEventPointer (1)->message.getNoteNumber()),
               std::tuple (0.0, 36, 960.0, 60));
    EXPECT_DOUBLE_EQ (progression.getLastEventTime(), 3840.0);

    // The bass strikes C3 again as the chord track lets its C3 go: the release comes first,
    // though the chord track is read later.
    MidiFileBuilder handOver (960);
    MidiFileBuilder::addNote (handOver.addTrack(), 48, 3840, 7680);
    MidiFileBuilder::addNote (handOver.addTrack(), 48, 0, 3840);
    ASSERT_TRUE (readBytes (handOver.build(), progression).wasOk());
    ASSERT_EQ (progression.events.getNumEvents(), 4);
    EXPECT_TRUE (progression.events.getEventPointer (1)->message.isNoteOff());
    EXPECT_TRUE (progression.events.getEventPointer (2)->message.isNoteOn());

    // A pitch struck again before its release is released first.
    MidiFileBuilder restruck (960);
    auto& track = restruck.addTrack();
    track.addEvent (juce::MidiMessage::noteOn (1, 60, (juce::uint8) 100), 0);
    track.addEvent (juce::MidiMessage::noteOn (1, 60, (juce::uint8) 100), 960);
    ASSERT_TRUE (readBytes (restruck.build(), progression).wasOk());
    ASSERT_EQ (progression.events.getNumEvents(), 3);
    EXPECT_TRUE (progression.events.getEventPointer (1)->message.isNoteOff());
    EXPECT_EQ (progression.events.getEventTime (1), 960.0);
}

TEST (ChordProgressionFile, filesWithoutUsableNotesOrBeyondTheRenderLimitFailWithTheUsersMessage)
{
    const juce::String expected = ChordProgressionFile::noUsableNotesMessage;
    ChordProgression progression;

    MidiFileBuilder controllersOnly;
    controllersOnly.addTrack().addEvent (juce::MidiMessage::controllerEvent (1, 1, 64), 0);
    EXPECT_EQ (readBytes (controllersOnly.build(), progression).getErrorMessage(), expected);

    for (const auto& [what, bytes] : cadenzium::test::unusableMidiFiles())
    {
        EXPECT_EQ (readBytes (bytes, progression).getErrorMessage(), expected) << what;
        EXPECT_EQ (progression.events.getNumEvents(), 0) << what;
    }

    EXPECT_TRUE (readBytes (cadenzium::test::oneNoteFile (960), progression).wasOk());

    EXPECT_EQ (ChordProgressionFile::read (juce::File ("/nonexistent/chords.mid"), progression).getErrorMessage(),
               juce::String (ChordProgressionFile::missingFileMessage));

    // Longer or larger than a render may be.
    MidiFileBuilder builder (960);
    MidiFileBuilder::addNote (builder.addTrack(), 60, 0, ChordProgressionFile::maxLastEventTicks + 960.0);
    EXPECT_EQ (readBytes (builder.build(), progression).getErrorMessage(),
               juce::String (ChordProgressionFile::tooLongMessage));
    EXPECT_EQ (readBytes (cadenzium::test::hugeFile(), progression).getErrorMessage(),
               juce::String (ChordProgressionFile::tooLongMessage));
}

#include "MidiFileBuilder.h"

#include <source/render/MidiPatternImport.h>

#include <gtest/gtest.h>

using cadenzium::test::MidiFileBuilder;

namespace
{
juce::Result importBytes (const juce::MemoryBlock& bytes, ImportedPattern& result, const std::vector<tarn::ControllerLane>& lanes = {})
{
    juce::MemoryInputStream stream (bytes, false);
    return MidiPatternImport::importStream (stream, "/tmp/test.mid", lanes, result);
}
} // namespace

TEST (MidiPatternImport, timingIsRescaledAndPitchesBecomeRowsInRisingOrder)
{
    MidiFileBuilder builder (480);
    auto& track = builder.addTrack();
    MidiFileBuilder::addNote (track, 67, 0, 240, 90, 2);
    MidiFileBuilder::addNote (track, 60, 480, 720, 100);
    MidiFileBuilder::addNote (track, 64, 480, 720, 110);

    tarn::ControllerLane lane;
    lane.type = tarn::ControllerLane::controlChange;
    lane.number = 1;
    lane.points = { { 0, 5, 0.5f, 0 } };

    ImportedPattern result;
    ASSERT_TRUE (importBytes (builder.build(), result, { lane }).wasOk());

    const auto& s = result.sequence;
    ASSERT_EQ (s.notes.size(), 3u);
    EXPECT_EQ (std::tuple (result.rowsUsed, s.getLength(), s.playbackStart), std::tuple (3, 3840, 0));
    EXPECT_EQ (std::tuple (s.notes[0].number, s.notes[0].channel, s.notes[0].velocityMin), std::tuple (2, 2, 90));
    EXPECT_EQ (std::pair (s.notes[1].timestamp, s.notes[1].length), std::pair (960, 480));
    EXPECT_EQ ((std::set<int> { s.notes[1].number, s.notes[2].number }), (std::set<int> { 0, 1 }));
    ASSERT_EQ (s.lanes.size(), 1u);
    EXPECT_TRUE (s.lanes[0].points.empty());

    // Rows come from the file's own pitches, not from an earlier import's.
    MidiFileBuilder later (960);
    MidiFileBuilder::addNote (later.addTrack(), 72, 0, 240);
    MidiFileBuilder::addNote (*later.tracks[0], 48, 240, 480);
    ASSERT_TRUE (importBytes (later.build(), result).wasOk());
    ASSERT_EQ (result.sequence.notes.size(), 2u);
    EXPECT_EQ (std::tuple (result.sequence.notes[0].number, result.sequence.notes[1].number, result.rowsUsed), std::tuple (1, 0, 2));
}

TEST (MidiPatternImport, lengthRoundsUpToWholeBarsOfTheFilesTimeSignatureAndUnusableOnesMeanFourFour)
{
    // No signature, numerator 0, and a denominator exponent that would give a bar of no ticks.
    const juce::uint8 numeratorZero[] = { 0xff, 0x58, 0x04, 0x00, 0x02, 0x18, 0x08 };
    const juce::uint8 hugeDenominator[] = { 0xff, 0x58, 0x04, 0x01, 0x0d, 0x18, 0x08 };
    const std::tuple<juce::MidiMessage, int, int, int> cases[] = {
        { juce::MidiMessage::timeSignatureMetaEvent (4, 4), 4, 4, 7680 },
        { juce::MidiMessage::timeSignatureMetaEvent (6, 8), 6, 8, 5760 },
        { juce::MidiMessage (numeratorZero, 7, 0.0), 4, 4, 7680 },
        { juce::MidiMessage (hugeDenominator, 7, 0.0), 4, 4, 7680 },
        { juce::MidiMessage(), 4, 4, 7680 },
    };

    for (const auto& [signature, numerator, denominator, length] : cases)
    {
        MidiFileBuilder builder (960);
        auto& track = builder.addTrack();
        if (signature.isMetaEvent())
            track.addEvent (signature, 0);
        MidiFileBuilder::addNote (track, 60, 0, 4000);

        ImportedPattern result;
        ASSERT_TRUE (importBytes (builder.build(), result).wasOk());
        const auto& s = result.sequence;
        EXPECT_EQ (std::tuple (s.timeSignatureNumerator, s.timeSignatureDenominator, s.getLength()), std::tuple (numerator, denominator, length)) << signature.getDescription();
    }
}

TEST (MidiPatternImport, unreadableAndHostileFilesFailAndChangeNothing)
{
    ImportedPattern result;
    result.sequence.name = "untouched";
    const juce::String expected = MidiPatternImport::noUsableNotesMessage;

    MidiFileBuilder onlyNoteOns (960);
    onlyNoteOns.addTrack().addEvent (juce::MidiMessage::noteOn (1, 60, (juce::uint8) 100), 0);
    EXPECT_EQ (importBytes (onlyNoteOns.build(), result).getErrorMessage(), expected);

    MidiFileBuilder controllersOnly (960);
    controllersOnly.addTrack().addEvent (juce::MidiMessage::controllerEvent (1, 1, 1), 0);
    EXPECT_EQ (importBytes (controllersOnly.build(), result).getErrorMessage(), expected);

    for (const auto& [what, bytes] : cadenzium::test::unusableMidiFiles())
        EXPECT_EQ (importBytes (bytes, result).getErrorMessage(), expected) << what;

    EXPECT_EQ (importBytes (cadenzium::test::hugeFile(), result).getErrorMessage(), expected);

    EXPECT_EQ (result.sequence.name, "untouched");

    // The same track under a sound header imports: the files above fail for their flaw alone.
    ASSERT_TRUE (importBytes (cadenzium::test::oneNoteFile (960), result).wasOk());
    EXPECT_EQ (result.sequence.notes.size(), 1u);
}

TEST (MidiPatternImport, aStrikeEndsTheSamePitchANoteOnThatNeverEndsIsSkippedAndNotesWithoutLengthAreKept)
{
    MidiFileBuilder builder (960);
    auto& track = builder.addTrack();
    for (int tick : { 0, 480, 960 })
        track.addEvent (juce::MidiMessage::noteOn (1, 62, (juce::uint8) 100), tick);
    track.addEvent (juce::MidiMessage::noteOff (1, 62), 1200);
    track.addEvent (juce::MidiMessage::noteOn (1, 70, (juce::uint8) 100), 1000);

    ImportedPattern result;
    ASSERT_TRUE (importBytes (builder.build(), result).wasOk());
    const auto& notes = result.sequence.notes;
    ASSERT_EQ (notes.size(), 3u);
    EXPECT_EQ (result.rowsUsed, 1);

    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ (std::tuple (notes[i].number, notes[i].timestamp, notes[i].length), std::tuple (0, 480 * (int) i, i < 2 ? 480 : 240));

    // Struck twice on one tick, the first strike has no length.
    MidiFileBuilder twice (960);
    twice.addTrack().addEvent (juce::MidiMessage::noteOn (1, 60, (juce::uint8) 100), 480);
    MidiFileBuilder::addNote (*twice.tracks[0], 60, 480, 960);
    ASSERT_TRUE (importBytes (twice.build(), result).wasOk());
    ASSERT_EQ (notes.size(), 2u);
    EXPECT_EQ ((std::multiset<int> { notes[0].length, notes[1].length }), (std::multiset<int> { 0, 480 }));
    EXPECT_EQ (notes[0].timestamp, 480);

    // Nothing but such a note still makes a phrase: one bar.
    MidiFileBuilder silent (960);
    silent.addTrack().addEvent (juce::MidiMessage::noteOn (1, 60, (juce::uint8) 100), 0);
    MidiFileBuilder::addNote (*silent.tracks[0], 60, 0, 0);
    ASSERT_TRUE (importBytes (silent.build(), result).wasOk());
    ASSERT_FALSE (notes.empty());
    EXPECT_EQ (notes[0].length, 0);
    EXPECT_EQ (result.sequence.getLength(), tarn::Ticks::perWhole);
}

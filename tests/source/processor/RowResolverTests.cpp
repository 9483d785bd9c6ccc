#include "PluginHarness.h"
#include <source/processor/RowResolver.h>
#include <tarn/sequence/PitchOffsetMessage.h>
#include <tarn/util/RandomSource.h>

#include <gtest/gtest.h>

#include <set>

using namespace cadenzium::test;

namespace
{
HeldNotes chord (std::initializer_list<std::pair<int, int>> notesAndVelocities)
{
    HeldNotes held;
    for (const auto& [note, velocity] : notesAndVelocities)
        held.add ({ note, velocity / 127.0f, 1 });
    return held;
}

const auto cMajorChord = chord ({ { 60, 100 }, { 64, 50 }, { 67, 80 } });

struct Resolver
{
    RowResolver resolver;
    RowList rows;
    RowResolver::Options options;

    std::vector<Event> play (const std::vector<Event>& phrase)
    {
        juce::MidiBuffer out;
        resolver.resolve (bufferOf (phrase), out, rows, options);
        return eventsOf (out);
    }

    /** The pitches row 0 sounds for one phrase note, ended again. */
    std::vector<int> pitchesOf (const CadenziumModifier& r, const HeldNotes& held)
    {
        rows = { r };
        resolver.setChord (held);
        std::vector<int> pitches;
        for (const auto& e : play ({ on (0, 100, 0) }))
            pitches.push_back (e.data1);
        play ({ off (0, 1) });
        return pitches;
    }
};
} // namespace

TEST (RowResolver, eachRowTypePicksItsNotesFromTheHeldChord)
{
    Resolver r;
    r.options.fill = false;
    using M = CadenziumModifier;

    EXPECT_EQ (r.pitchesOf (makeRow (M::pitch, 0), cMajorChord), std::vector<int> { 60 });
    EXPECT_EQ (r.pitchesOf (makeRow (M::pitch, 1), cMajorChord), std::vector<int> { 64 });
    EXPECT_EQ (r.pitchesOf (makeRow (M::pitch, 16), cMajorChord), std::vector<int> { 67 });
    EXPECT_TRUE (r.pitchesOf (makeRow (M::pitch, 3), cMajorChord).empty());

    r.options.fill = true;
    EXPECT_EQ (r.pitchesOf (makeRow (M::pitch, 3), cMajorChord), std::vector<int> { 72 }) << "the next C above G";
    EXPECT_EQ (r.pitchesOf (makeRow (M::pitch, 5), cMajorChord), std::vector<int> { 79 });
    EXPECT_EQ (r.pitchesOf (makeRow (M::pitch, 16), cMajorChord), std::vector<int> { 67 });

    EXPECT_EQ (r.pitchesOf (makeRow (M::velocity, 0), cMajorChord), std::vector<int> { 64 });
    EXPECT_EQ (r.pitchesOf (makeRow (M::velocity, 8), cMajorChord), std::vector<int> { 60 });
    EXPECT_EQ (r.pitchesOf (makeRow (M::velocity, 2), chord ({ { 67, 90 }, { 62, 90 }, { 70, 20 } })), std::vector<int> { 67 }) << "equal velocities by pitch";
    EXPECT_EQ (r.pitchesOf (makeRow (M::timing, 0), chord ({ { 67, 90 }, { 62, 90 } })), std::vector<int> { 67 });
    EXPECT_EQ (r.pitchesOf (makeRow (M::timing, 8), chord ({ { 67, 90 }, { 62, 90 } })), std::vector<int> { 62 });

    EXPECT_EQ (r.pitchesOf (makeRow (M::fixed, 60), HeldNotes()), std::vector<int> { 60 });
    EXPECT_EQ (r.pitchesOf (makeRow (M::all, 0), cMajorChord), (std::vector<int> { 60, 64, 67 }));
    EXPECT_TRUE (r.pitchesOf (makeRow (M::random, 0), HeldNotes()).empty());

    tarn::RandomSource::setFixedSeed (77);
    std::set<int> randomPitches;
    for (int i = 0; i < 200; ++i)
        for (auto p : r.pitchesOf (makeRow (M::random, 0), cMajorChord))
            randomPitches.insert (p);
    tarn::RandomSource::clearFixedSeed();
    EXPECT_EQ (randomPitches, (std::set<int> { 60, 64, 67 })) << "seed 77";

    // Velocity passthrough takes the held note's velocity, but never 0 (a note-off).
    r.options.velocityPassthrough = true;
    r.rows = { makeRow (M::all, 0) };
    r.resolver.setChord (chord ({ { 60, 33 }, { 64, 0 } }));
    EXPECT_EQ (r.play ({ on (0, 100, 0) }), (std::vector<Event> { on (60, 33, 0), on (64, 1, 0) }));
}

TEST (RowResolver, transposeOctaveAndPitchOffsetMoveTheNoteAndOutOfRangeNotesDrop)
{
    Resolver r;
    r.rows = { makeRow (CadenziumModifier::all, 0, 3, 4, 5) };
    r.resolver.setChord (cMajorChord);

    // 60 + 64 = 124 sounds, 64 + 64 and 67 + 64 are above 127.
    EXPECT_EQ (r.play ({ on (0, 90, 4) }), (std::vector<Event> { on (124, 90, 4, 3) }));
    EXPECT_EQ (r.play ({ off (0, 9) }), (std::vector<Event> { off (124, 9, 3) }));

    juce::MidiBuffer wrapped, out;
    r.rows = { makeRow (CadenziumModifier::pitch, 0) };
    wrapped.addEvent (tarn::PitchOffsetMessage::wrap (juce::MidiMessage::noteOn (1, 0, (juce::uint8) 70), -5), 0);
    wrapped.addEvent (tarn::PitchOffsetMessage::wrap (juce::MidiMessage::noteOff (1, 0), -5), 10);
    const juce::uint8 loopMarker[] = { 0xf0, 0x2a, 0x01, 0xf7 };
    wrapped.addEvent (loopMarker, 4, 11);
    r.resolver.resolve (wrapped, out, r.rows, r.options);
    EXPECT_EQ (eventsOf (out), (std::vector<Event> { on (55, 70, 0), off (55, 10) }));
    EXPECT_EQ (out.getNumEvents(), 2) << "other system-exclusive events are dropped";
}

TEST (RowResolver, aNoteOffEndsWhatItsNoteOnStartedWhateverChangedMeanwhile)
{
    Resolver r;
    r.rows = { makeRow (CadenziumModifier::pitch, 0), makeRow (CadenziumModifier::fixed, 60) };
    r.resolver.setChord (cMajorChord);
    EXPECT_EQ (r.play ({ on (0, 100, 0), on (1, 100, 0) }), (std::vector<Event> { on (60, 100, 0), on (60, 100, 0) }));

    // The chord moves, row 1 goes to channel 2 and is muted, then the row list shrinks.
    r.resolver.setChord (chord ({ { 62, 100 } }));
    r.rows[1].channel = 2;
    r.rows[1].muted = true;
    EXPECT_TRUE (r.play ({ on (1, 100, 5) }).empty());
    r.rows.resize (1);

    EXPECT_EQ (r.play ({ off (0, 10), off (1, 11) }), (std::vector<Event> { off (60, 10), off (60, 11) }));
    EXPECT_EQ (r.resolver.getNumSoundingNotes(), 0);
}

TEST (RowResolver, oneNoteOffEndsEveryRepeatedStrikeOfItsRow)
{
    Resolver r;
    r.rows = { makeRow (CadenziumModifier::random, 0) };
    r.resolver.setChord (cMajorChord);
    NoteCounter counter;

    for (int pass = 0; pass < 1000; ++pass)
    {
        juce::MidiBuffer out;
        r.resolver.resolve (bufferOf ({ on (0, 100, 0), on (0, 100, 1), on (0, 100, 2), on (0, 100, 3), off (0, 4) }), out, r.rows, r.options);
        counter.count (out);
        ASSERT_EQ (counter.sounding(), 0) << "pass " << pass;
    }

    EXPECT_EQ (r.resolver.getNumSoundingNotes(), 0);
}

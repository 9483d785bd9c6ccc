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

// The pipeline plays each row type once; these are the choices it does not reach.
TEST (RowResolver, eachRowTypePicksItsNotesFromTheHeldChordWhichTransposeOctaveAndPitchOffsetMove)
{
    Resolver r;
    using M = CadenziumModifier;
    r.options.fill = true;
    const auto tie = chord ({ { 67, 90 }, { 62, 90 }, { 70, 20 } });
    const auto twoPressed = chord ({ { 67, 90 }, { 62, 90 } });
    const std::tuple<CadenziumModifier, HeldNotes, std::vector<int>> cases[] = {
        { makeRow (M::pitch, 3), cMajorChord, { 72 } }, // fill: the next C above G
        { makeRow (M::pitch, 5), cMajorChord, { 79 } },
        { makeRow (M::pitch, 16), cMajorChord, { 67 } },
        { makeRow (M::velocity, 2), tie, { 67 } }, // equal velocities by pitch
        { makeRow (M::timing, 0), twoPressed, { 67 } },
        { makeRow (M::timing, 8), twoPressed, { 62 } },
        { makeRow (M::random, 0), HeldNotes(), {} },
    };

    for (const auto& [row, held, expected] : cases)
        EXPECT_EQ (r.pitchesOf (row, held), expected) << row.type << " " << row.value;

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
    r.play ({ off (0, 1) });
    r.options = {};

    // Transpose, octave and a pitch offset move the note; out of range notes drop.
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

#include "GenerationTestSupport.h"

#include <map>

using namespace generation_test;

namespace
{
const tarn::GridSize sixteenth { 16, tarn::GridSize::straight };

/** Chance 100 and only the listed amounts. */
MutationSettings amounts (int timing, int pitch = 0, int length = 0, int velocity = 0, int chance = 100)
{
    MutationSettings s;
    std::tie (s.chance, s.timing, s.pitch, s.length, s.velocity) = std::tie (chance, timing, pitch, length, velocity);
    return s;
}

/** Rows with the given types and values, the listed ones locked. */
RowList makeTypedRows (std::vector<std::pair<int, int>> typesAndValues, std::set<int> locked = {})
{
    auto rows = makeRows ((int) typesAndValues.size(), locked);
    for (size_t i = 0; i < typesAndValues.size(); ++i)
        std::tie (rows[i].type, rows[i].value) = typesAndValues[i];
    return rows;
}
} // namespace

TEST (Mutation, nothingChangesWithoutAnAmountAChanceOrACandidate)
{
    const auto phrase = makeSequence ({ makeNote (0, 0, 240), makeNote (1, 960, 240) });
    PhraseMutator mutator (1);

    EXPECT_FALSE (mutator.mutate (phrase, makeRows (2), amounts (0), sixteenth).changed);
    EXPECT_FALSE (mutator.mutate (phrase, makeRows (2), amounts (2, 1, 50, 8, 0), sixteenth).changed) << "chance 0";

    // Every row locked, or notes on rows the table does not have.
    EXPECT_FALSE (mutator.mutate (phrase, makeRows (2, { 0, 1 }), amounts (2), sixteenth).changed);
    const auto result = mutator.mutate (phrase, makeRows (0), amounts (2), sixteenth);
    EXPECT_FALSE (result.changed);
    EXPECT_TRUE (tarn::SequenceEditing::hasSameContent (result.sequence, phrase));
}

TEST (Mutation, evenTheSmallestChanceMutatesOneGroupAndChordsMoveAsABlock)
{
    std::vector<tarn::SequenceNote> notes;
    for (int i = 0; i < 10; ++i)
        notes.push_back (makeNote (i % 2, 960 + 480 * i, 240, 64));

    const auto spread = makeSequence (notes, 8 * 3840);
    const auto settings = amounts (0, 0, 0, 8, 1);
    PhraseMutator mutator (2);

    for (int run = 0; run < 20; ++run)
    {
        const auto result = mutator.mutate (spread, makeRows (2), settings, sixteenth);
        ASSERT_TRUE (result.changed);
        int changedNotes = 0;
        for (size_t i = 0; i < notes.size(); ++i)
            changedNotes += result.sequence.notes[i] != spread.notes[i] ? 1 : 0;
        EXPECT_EQ (changedNotes, 1);
    }

    const auto chord = makeSequence ({ makeNote (0, 960, 240), makeNote (1, 960, 240), makeNote (2, 960, 240) });

    for (int run = 0; run < 50; ++run)
    {
        const auto result = mutator.mutate (chord, makeRows (3), amounts (2), sixteenth);
        ASSERT_TRUE (result.changed);
        const auto start = result.sequence.notes[0].timestamp;
        EXPECT_TRUE (start == 480 || start == 720 || start == 1200 || start == 1440) << start;

        for (const auto& note : result.sequence.notes)
            EXPECT_EQ (note.timestamp, start);
    }
}

TEST (Mutation, nearerTimingShiftsAreTwiceAsLikelyAsFartherOnes)
{
    const auto phrase = makeSequence ({ makeNote (0, 1920, 240) });
    std::map<int, int> shifts;
    PhraseMutator mutator (4);

    for (int run = 0; run < 6000; ++run)
        ++shifts[mutator.mutate (phrase, makeRows (1), amounts (2), sixteenth).sequence.notes[0].timestamp - 1920];

    ASSERT_EQ (shifts.size(), 4u);
    const auto near = shifts[-240] + shifts[240];
    const auto far = shifts[-480] + shifts[480];
    EXPECT_NEAR ((double) near / far, 2.0, 0.2);
    EXPECT_NEAR ((double) shifts[-240] / shifts[240], 1.0, 0.15);

    // A shift that would leave the phrase or hit another note of the row is not offered.
    const auto crowded = makeSequence ({ makeNote (0, 0, 240), makeNote (0, 480, 240) });

    for (int run = 0; run < 50; ++run)
    {
        const auto notes = mutator.mutate (crowded, makeRows (1), amounts (2), sixteenth).sequence.notes;
        EXPECT_TRUE (notes[0].timestamp >= 0 && notes[0].getEnd() <= notes[1].timestamp);
    }
}

TEST (Mutation, notesStayInsideTheirRowLoopWindows)
{
    auto phrase = makeSequence ({ makeNote (0, 240, 240), makeNote (0, 1200, 240), makeNote (1, 2400, 480) });
    phrase.loops[0] = { 960, 1920 };

    PhraseMutator mutator (3);

    for (int run = 0; run < 300; ++run)
    {
        phrase = mutator.mutate (phrase, makeRows (2), amounts (2, 0, 50), sixteenth).sequence;

        for (const auto& note : phrase.notes)
        {
            const auto start = note.timestamp < 960 ? 0 : 960;
            EXPECT_TRUE (note.number != 0 || (note.timestamp >= start && note.getEnd() <= start + 960 && note.length >= 1)) << note.timestamp << " " << note.length;
        }
    }
}

TEST (Mutation, pitchMovesOnlyToNearbyUnlockedPitchRows)
{
    // Rows: Pitch 1, Pitch 2, Pitch 3, Pitch 4 (locked), Fixed 60, Velocity 0.
    const auto rows = makeTypedRows ({ { 0, 1 }, { 0, 2 }, { 0, 3 }, { 0, 4 }, { 3, 60 }, { 1, 0 } }, { 3 });
    const auto phrase = makeSequence ({ makeNote (1, 0, 240), makeNote (4, 960, 240), makeNote (5, 1920, 240) });

    auto settings = amounts (0, 1);
    std::set<int> destinations;
    PhraseMutator mutator (5);

    for (int run = 0; run < 200; ++run)
    {
        const auto result = mutator.mutate (phrase, rows, settings, sixteenth);
        destinations.insert (result.sequence.notes[0].number);
        EXPECT_EQ (std::pair (result.sequence.notes[1].number, result.sequence.notes[2].number), std::pair (4, 5));
    }

    EXPECT_EQ (destinations, (std::set<int> { 0, 2 }));

    // Two rank steps away is only reachable with a pitch amount of two.
    settings.pitch = 2;
    const auto rowsWithMore = makeTypedRows ({ { 0, 0 }, { 0, 1 }, { 0, 2 }, { 0, 3 }, { 0, 4 } });
    std::set<int> spread;

    for (int run = 0; run < 300; ++run)
        spread.insert (mutator.mutate (makeSequence ({ makeNote (2, 0, 240) }), rowsWithMore, settings, sixteenth).sequence.notes[0].number);

    EXPECT_EQ (spread, (std::set<int> { 0, 1, 3, 4 }));
}

TEST (Mutation, lengthAndVelocityChangesKeepTheirBounds)
{
    auto settings = amounts (0, 0, 50);

    // 50 % of 120 ticks: -60 .. +60, never into the next note of the row.
    const auto phrase = makeSequence ({ makeNote (0, 0, 120), makeNote (0, 150, 100), makeNote (1, 960, 5) });
    std::set<int> lengths;
    PhraseMutator mutator (6);

    for (int run = 0; run < 500; ++run)
    {
        const auto length = mutator.mutate (phrase, makeRows (2), settings, sixteenth).sequence.notes[0].length;
        EXPECT_TRUE (length >= 60 && length <= 150) << length;
        lengths.insert (length);
    }

    EXPECT_EQ (std::pair (*lengths.begin(), *lengths.rbegin()), std::pair (60, 150));

    // 10 % of 5 ticks is too little to change.
    settings.length = 10;

    for (int run = 0; run < 50; ++run)
        EXPECT_FALSE (mutator.mutate (makeSequence ({ makeNote (1, 960, 5) }), makeRows (2), settings, sixteenth).changed);

    // Velocity 8 near the top only goes down, keeping the range's width; 1..127 cannot move.
    settings = amounts (0, 0, 0, 8);
    auto high = makeNote (0, 0, 240);
    high.velocityMin = 120;
    high.velocityMax = 127;
    auto full = makeNote (1, 960, 240);
    full.velocityMin = 1;
    full.velocityMax = 127;
    std::set<int> shifts;

    for (int run = 0; run < 500; ++run)
    {
        const auto result = mutator.mutate (makeSequence ({ high, full }), makeRows (2), settings, sixteenth);
        const auto& moved = result.sequence.notes[0];
        shifts.insert (moved.velocityMin - 120);
        EXPECT_EQ (moved.velocityMax - moved.velocityMin, 7);
        EXPECT_EQ (result.sequence.notes[1], full);
    }

    EXPECT_EQ (shifts, (std::set<int> { -8, -7, -6, -5, -4, -3, -2, -1 }));
}

TEST (Mutation, repeatedRunsKeepThePhraseValidAndLockedRowsUntouched)
{
    const auto seed = freshSeed();
    SCOPED_TRACE ("seed " + std::to_string (seed));
    juce::Random random (seed);
    PhraseMutator mutator (seed);

    const auto rows = makeTypedRows ({ { 0, 0 }, { 0, 1 }, { 0, 2 }, { 0, 3 }, { 3, 60 }, { 0, 5 }, { 0, 6 } }, { 3, 6 });

    for (int round = 0; round < 40; ++round)
    {
        auto phrase = generateWithSeed (makeSequence ({}, 2 * 3840), makeRows (6, { 3 }), makeSettings (GenerationSettings::Polyphony::poly, GenerationSettings::Mode::random, 30, 1), random.nextInt64());
        phrase.notes.push_back (makeNote (6, 0, 3840));
        phrase.loops[1] = { 1920, 5760 };
        phrase.normalise();

        std::vector<tarn::SequenceNote> locked;
        for (const auto& note : phrase.notes)
            if (note.number == 3 || note.number == 6)
                locked.push_back (note);

        const auto chance = random.nextInt (101), timing = random.nextInt (3), pitch = random.nextInt (4), length = random.nextInt (51);
        const auto settings = amounts (timing, pitch, length, random.nextInt (33), chance);

        for (int step = 0; step < 10; ++step)
        {
            phrase = mutator.mutate (phrase, rows, settings, tarn::GridSize::all()[(size_t) random.nextInt (24)]).sequence;

            std::vector<tarn::SequenceNote> stillLocked;

            for (size_t i = 0; i < phrase.notes.size(); ++i)
            {
                const auto& note = phrase.notes[i];

                if (note.number == 3 || note.number == 6)
                    stillLocked.push_back (note);

                EXPECT_TRUE (i == 0 || phrase.notes[i - 1].timestamp <= note.timestamp);
                EXPECT_TRUE (note.timestamp >= 0 && note.getEnd() <= phrase.getLength());
                EXPECT_TRUE (note.velocityMin >= 1 && note.velocityMin <= note.velocityMax && note.velocityMax <= 127);

                // Notes that were apart on a row never come to overlap.
                for (size_t j = i + 1; j < phrase.notes.size(); ++j)
                    EXPECT_TRUE (phrase.notes[j].number != note.number || note.number == 6 || note.getEnd() <= phrase.notes[j].timestamp);
            }

            EXPECT_EQ (stillLocked, locked);

            if (HasFailure())
                return;
        }
    }
}

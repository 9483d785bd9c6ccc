#include "GenerationTestSupport.h"

#include <map>

using namespace generation_test;

namespace
{
const tarn::GridSize sixteenth { 16, tarn::GridSize::straight };

MutationSettings onlyTiming (int steps)
{
    MutationSettings s;
    s.chance = 100;
    s.timing = steps;
    s.pitch = s.length = s.velocity = 0;
    return s;
}

/** Rows with the given types and values, the listed ones locked. */
RowList makeTypedRows (std::vector<std::pair<int, int>> typesAndValues, std::set<int> locked = {})
{
    RowList rows;

    for (size_t i = 0; i < typesAndValues.size(); ++i)
    {
        CadenziumModifier row;
        row.type = typesAndValues[i].first;
        row.value = typesAndValues[i].second;
        row.generationLock = locked.count ((int) i) > 0;
        rows.push_back (row);
    }

    return rows;
}
} // namespace

TEST (Mutation, nothingChangesWithoutAnAmountAChanceOrACandidate)
{
    const auto phrase = makePhrase (3840, { makeNote (0, 0, 240), makeNote (1, 960, 240) });
    PhraseMutator mutator (1);

    MutationSettings none;
    none.chance = 100;
    none.timing = none.pitch = none.length = none.velocity = 0;
    EXPECT_FALSE (mutator.mutate (phrase, makeRows (2), none, sixteenth).changed);

    auto noChance = onlyTiming (2);
    noChance.chance = 0;
    EXPECT_FALSE (mutator.mutate (phrase, makeRows (2), noChance, sixteenth).changed);

    // Every row locked, or notes on rows the table does not have.
    EXPECT_FALSE (mutator.mutate (phrase, makeRows (2, { 0, 1 }), onlyTiming (2), sixteenth).changed);
    const auto result = mutator.mutate (phrase, makeRows (0), onlyTiming (2), sixteenth);
    EXPECT_FALSE (result.changed);
    EXPECT_TRUE (tarn::SequenceEditing::hasSameContent (result.sequence, phrase));
}

TEST (Mutation, evenTheSmallestChanceMutatesOneGroupAndChordsMoveAsABlock)
{
    std::vector<tarn::SequenceNote> notes;

    for (int i = 0; i < 10; ++i)
        notes.push_back (makeNote (i % 2, 960 + 480 * i, 240, 64));

    const auto spread = makePhrase (8 * 3840, notes);
    MutationSettings settings;
    settings.chance = 1;
    settings.timing = settings.pitch = settings.length = 0;
    settings.velocity = 8;
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

    const auto chord = makePhrase (3840, { makeNote (0, 960, 240), makeNote (1, 960, 240), makeNote (2, 960, 240) });

    for (int run = 0; run < 50; ++run)
    {
        const auto result = mutator.mutate (chord, makeRows (3), onlyTiming (2), sixteenth);
        ASSERT_TRUE (result.changed);
        const auto start = result.sequence.notes[0].timestamp;
        EXPECT_TRUE (start == 480 || start == 720 || start == 1200 || start == 1440) << start;

        for (const auto& note : result.sequence.notes)
            EXPECT_EQ (note.timestamp, start);
    }
}

TEST (Mutation, nearerTimingShiftsAreTwiceAsLikelyAsFartherOnes)
{
    const auto phrase = makePhrase (3840, { makeNote (0, 1920, 240) });
    std::map<int, int> shifts;
    PhraseMutator mutator (4);

    for (int run = 0; run < 6000; ++run)
    {
        const auto result = mutator.mutate (phrase, makeRows (1), onlyTiming (2), sixteenth);
        ++shifts[result.sequence.notes[0].timestamp - 1920];
    }

    ASSERT_EQ (shifts.size(), 4u);
    const auto near = shifts[-240] + shifts[240];
    const auto far = shifts[-480] + shifts[480];
    EXPECT_NEAR ((double) near / far, 2.0, 0.2);
    EXPECT_NEAR ((double) shifts[-240] / shifts[240], 1.0, 0.15);

    // A shift that would leave the phrase or hit another note of the row is not offered.
    const auto crowded = makePhrase (3840, { makeNote (0, 0, 240), makeNote (0, 480, 240) });

    for (int run = 0; run < 50; ++run)
    {
        const auto result = mutator.mutate (crowded, makeRows (1), onlyTiming (2), sixteenth);

        if (result.changed)
        {
            EXPECT_GE (result.sequence.notes[0].timestamp, 0);
            EXPECT_LE (result.sequence.notes[0].getEnd(), result.sequence.notes[1].timestamp);
        }
    }
}

TEST (Mutation, notesStayInsideTheirRowLoopWindows)
{
    auto phrase = makePhrase (3840, { makeNote (0, 240, 240), makeNote (0, 1200, 240), makeNote (1, 2400, 480) });
    phrase.loops[0] = { 960, 1920 };

    EXPECT_EQ (RowWindow::forRow (phrase, 0, 240), (RowWindow { 0, 960 }));
    EXPECT_EQ (RowWindow::forRow (phrase, 0, 1200), (RowWindow { 960, 1920 }));
    EXPECT_EQ (RowWindow::forRow (phrase, 1, 2400), (RowWindow { 0, 3840 }));
    EXPECT_EQ (RowWindow::forRow (phrase, 130, 0), RowWindow {});

    MutationSettings settings;
    settings.chance = 100;
    settings.timing = 2;
    settings.pitch = 0;
    settings.length = 50;
    settings.velocity = 0;
    PhraseMutator mutator (3);

    for (int run = 0; run < 300; ++run)
    {
        phrase = mutator.mutate (phrase, makeRows (2), settings, sixteenth).sequence;

        for (const auto& note : phrase.notes)
        {
            if (note.number != 0)
                continue;

            const auto before = note.timestamp < 960;
            EXPECT_GE (note.timestamp, before ? 0 : 960);
            EXPECT_LE (note.getEnd(), before ? 960 : 1920);
            EXPECT_GE (note.length, 1);
        }
    }
}

TEST (Mutation, pitchMovesOnlyToNearbyUnlockedPitchRows)
{
    // Rows: Pitch 1, Pitch 2, Pitch 3, Pitch 4 (locked), Fixed 60, Velocity 0.
    const auto rows = makeTypedRows ({ { 0, 1 }, { 0, 2 }, { 0, 3 }, { 0, 4 }, { 3, 60 }, { 1, 0 } }, { 3 });
    const auto phrase = makePhrase (3840, { makeNote (1, 0, 240), makeNote (4, 960, 240), makeNote (5, 1920, 240) });

    MutationSettings settings;
    settings.chance = 100;
    settings.timing = settings.length = settings.velocity = 0;
    settings.pitch = 1;
    std::map<int, int> destinations;
    PhraseMutator mutator (5);

    for (int run = 0; run < 2000; ++run)
    {
        const auto result = mutator.mutate (phrase, rows, settings, sixteenth);
        ++destinations[result.sequence.notes[0].number];
        EXPECT_EQ (result.sequence.notes[1].number, 4);
        EXPECT_EQ (result.sequence.notes[2].number, 5);
    }

    ASSERT_EQ (destinations.size(), 2u);
    EXPECT_NEAR ((double) destinations[0] / destinations[2], 1.0, 0.15);

    // Two rank steps away is only reachable with a pitch amount of two, at half the weight.
    settings.pitch = 2;
    const auto rowsWithMore = makeTypedRows ({ { 0, 0 }, { 0, 1 }, { 0, 2 }, { 0, 3 }, { 0, 4 } });
    const auto middle = makePhrase (3840, { makeNote (2, 0, 240) });
    std::map<int, int> spread;

    for (int run = 0; run < 3000; ++run)
    {
        ++spread[mutator.mutate (middle, rowsWithMore, settings, sixteenth).sequence.notes[0].number];
    }

    EXPECT_EQ (spread.count (2), 0u);
    EXPECT_NEAR ((double) (spread[1] + spread[3]) / (spread[0] + spread[4]), 2.0, 0.25);
}

TEST (Mutation, lengthAndVelocityChangesKeepTheirBounds)
{
    MutationSettings settings;
    settings.chance = 100;
    settings.timing = settings.pitch = settings.velocity = 0;
    settings.length = 50;

    // 50 % of 120 ticks: -60 .. +60, never into the next note of the row.
    const auto phrase = makePhrase (3840, { makeNote (0, 0, 120), makeNote (0, 150, 100), makeNote (1, 960, 5) });
    std::set<int> lengths;
    PhraseMutator mutator (6);

    for (int run = 0; run < 500; ++run)
    {
        const auto result = mutator.mutate (phrase, makeRows (2), settings, sixteenth);
        const auto& first = result.sequence.notes[0];
        EXPECT_TRUE (first.length >= 60 && first.length <= 150) << first.length;
        lengths.insert (first.length);
    }

    EXPECT_EQ (*lengths.begin(), 60);
    EXPECT_EQ (*lengths.rbegin(), 150);

    // 10 % of 5 ticks is too little to change.
    settings.length = 10;

    for (int run = 0; run < 50; ++run)
        EXPECT_FALSE (mutator.mutate (makePhrase (3840, { makeNote (1, 960, 5) }), makeRows (2), settings, sixteenth).changed);

    // Velocity 8 near the top only goes down, keeping the range's width; 1..127 cannot move.
    settings.length = 0;
    settings.velocity = 8;
    auto high = makeNote (0, 0, 240);
    high.velocityMin = 120;
    high.velocityMax = 127;
    auto full = makeNote (1, 960, 240);
    full.velocityMin = 1;
    full.velocityMax = 127;
    std::set<int> shifts;

    for (int run = 0; run < 500; ++run)
    {
        const auto result = mutator.mutate (makePhrase (3840, { high, full }), makeRows (2), settings, sixteenth);
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
        auto phrase = generateWithSeed (makePhrase (2 * 3840), makeRows (6, { 3 }), makeSettings (GenerationSettings::Polyphony::poly, GenerationSettings::Mode::random, 30, 1), random.nextInt64());
        phrase.notes.push_back (makeNote (6, 0, 3840));
        phrase.loops[1] = { 1920, 5760 };
        phrase.normalise();

        std::vector<tarn::SequenceNote> locked;

        for (const auto& note : phrase.notes)
            if (note.number == 3 || note.number == 6)
                locked.push_back (note);

        MutationSettings settings;
        settings.chance = random.nextInt (101);
        settings.timing = random.nextInt (3);
        settings.pitch = random.nextInt (4);
        settings.length = random.nextInt (51);
        settings.velocity = random.nextInt (33);

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
                EXPECT_GE (note.timestamp, 0);
                EXPECT_LE (note.getEnd(), phrase.getLength());
                EXPECT_TRUE (note.velocityMin >= 1 && note.velocityMin <= note.velocityMax && note.velocityMax <= 127);

                // Notes that were apart on a row never come to overlap.
                for (size_t j = i + 1; j < phrase.notes.size(); ++j)
                {
                    if (phrase.notes[j].number == note.number && note.number != 6)
                    {
                        EXPECT_LE (note.getEnd(), phrase.notes[j].timestamp);
                    }
                }
            }

            EXPECT_EQ (stillLocked, locked);

            if (HasFailure())
                return;
        }
    }
}

#include "GenerationTestSupport.h"

#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/util/RandomSource.h>

using namespace generation_test;
using Polyphony = GenerationSettings::Polyphony;
using Mode = GenerationSettings::Mode;
using Target = consts::RegenerationMode;

TEST (NoteGeneration, noteLengthsFollowTheBaseTheVariationAndThePhraseEnd)
{
    // A whole note on a 1000-tick phrase is cut at the phrase end.
    const auto clipped = generateWithSeed (makeSequence ({}, 1000), makeRows (3), makeSettings (Polyphony::mono, Mode::random, 100, 5), 7);
    ASSERT_EQ (clipped.notes.size(), 1u);
    EXPECT_EQ (clipped.notes[0].length, 1000);

    // Full variation on a whole-note base: 5 plus 0..6, clamped to 6, so whole and double whole notes.
    auto varied = makeSettings (Polyphony::mono, Mode::random, 100, 5);
    varied.lengthVariation = 100.0f;
    std::set<int> uncut;

    for (juce::int64 seed = 1; seed <= 10; ++seed)
    {
        const auto result = generateWithSeed (makeSequence ({}, 16 * 3840), makeRows (3), varied, spreadSeed (seed));
        for (const auto& note : result.notes)
            if (note.getEnd() < result.getLength()) // the last note may be cut
                uncut.insert (note.length);
    }

    EXPECT_EQ (uncut, (std::set<int> { 3840, 7680 }));

    // A little variation still lets a note grow by one step.
    auto slight = makeSettings (Polyphony::mono, Mode::random, 100, 1);
    slight.lengthVariation = 5.0f;
    std::set<int> lengths;
    for (const auto& note : generateWithSeed (makeSequence ({}, 16 * 3840), makeRows (3), slight, 3).notes)
        lengths.insert (note.length);

    EXPECT_EQ (lengths, (std::set<int> { 240, 480 }));
}

TEST (NoteGeneration, chordsPutACompanionOnEveryOtherUnlockedRow)
{
    auto settings = makeSettings (Polyphony::chords, Mode::random, 60, 2);
    settings.chordDensity = 100.0f;
    const auto rows = makeRows (5, { 1 });

    for (juce::int64 seed = 1; seed <= 20; ++seed)
    {
        SCOPED_TRACE ("seed " + std::to_string (seed));
        const auto result = generateWithSeed (makeSequence ({}, 4 * 3840), rows, settings, spreadSeed (seed));
        ASSERT_FALSE (result.notes.empty());

        for (const auto& note : result.notes)
        {
            std::set<int> chordRows;
            for (const auto& member : notesAt (result, note.timestamp))
                if (member.length == note.length)
                    chordRows.insert (member.number);

            EXPECT_EQ (chordRows, (std::set<int> { 0, 2, 3, 4 }));
            EXPECT_EQ (notesAt (result, note.timestamp).size(), 4u);
        }
    }
}

TEST (NoteGeneration, polyWalksEachRowOnItsOwnAndOnlyMonoAndChordsAvoidLockedStarts)
{
    const auto rows = makeRows (4, { 3 });
    const auto locked = makeSequence ({ makeNote (3, 0, 240, 33), makeNote (3, 960, 240, 33) });

    bool polyStartedOnALockedNote = false, polyRowsOverlapped = false;

    for (juce::int64 seed = 1; seed <= 40; ++seed)
    {
        SCOPED_TRACE ("seed " + std::to_string (seed));

        const auto poly = generateWithSeed (locked, rows, makeSettings (Polyphony::poly, Mode::random, 50, 2), spreadSeed (seed));
        std::map<int, int> lastEndOnRow;

        for (const auto& note : poly.notes)
        {
            if (note.number == 3)
                continue;

            // One walk per row: a row's own notes follow each other.
            EXPECT_GE (note.timestamp, lastEndOnRow[note.number]);
            lastEndOnRow[note.number] = note.getEnd();
            polyStartedOnALockedNote |= note.timestamp == 0 || note.timestamp == 960;

            for (const auto& other : poly.notes)
                polyRowsOverlapped |= other.number != note.number && other.number != 3
                                      && other.timestamp < note.getEnd() && note.timestamp < other.getEnd();
        }

        for (auto polyphony : { Polyphony::mono, Polyphony::chords })
        {
            auto settings = makeSettings (polyphony, Mode::random, 100, 1);
            settings.chordDensity = 50.0f;
            const auto result = generateWithSeed (locked, rows, settings, spreadSeed (seed));

            for (auto t : { 0, 960 })
            {
                const auto atLockedStart = notesAt (result, t);
                ASSERT_EQ (atLockedStart.size(), 1u);
                EXPECT_EQ (atLockedStart[0], makeNote (3, t, 240, 33));
            }
        }
    }

    EXPECT_TRUE (polyStartedOnALockedNote);
    EXPECT_TRUE (polyRowsOverlapped);
}

TEST (NoteGeneration, fullDensityFillsEverySixteenthAndMirroredModesBuildTheSecondHalfFromTheFirst)
{
    const auto rows = makeRows (10);
    const auto half = 1920;

    for (juce::int64 seed = 1; seed <= 20; ++seed)
    {
        SCOPED_TRACE ("seed " + std::to_string (seed));

        // Reverse: a first-half note over [s, s + len) comes back over [L - s - len, L - s).
        const auto reversed = generateWithSeed (makeSequence ({}), rows, makeSettings (Polyphony::mono, Mode::reverse, 70, 1), spreadSeed (seed));
        std::multiset<std::tuple<int, int, int>> firstHalf, secondHalf;
        for (const auto& note : reversed.notes)
            (note.timestamp < half ? firstHalf : secondHalf).insert ({ note.number, note.timestamp < half ? 3840 - note.timestamp - note.length : note.timestamp, note.length });

        EXPECT_FALSE (firstHalf.empty());
        EXPECT_EQ (firstHalf, secondHalf);

        // Invert: the copies keep the rhythm and swap the lowest row used with the highest.
        // At full density mono fills the bar with sixteenths.
        const auto inverted = generateWithSeed (makeSequence ({}), rows, makeSettings (Polyphony::mono, Mode::invert, 100, 1), spreadSeed (seed));
        ASSERT_EQ (inverted.notes.size(), 16u);
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ (std::pair (inverted.notes[(size_t) i].timestamp, inverted.notes[(size_t) i].length), std::pair (240 * i, 240)) << i;

        std::vector<int> used;
        for (int i = 0; i < 8; ++i)
            used.push_back (inverted.notes[(size_t) i].number);
        std::sort (used.begin(), used.end());
        used.erase (std::unique (used.begin(), used.end()), used.end());

        for (int i = 0; i < 8; ++i)
        {
            const auto& first = inverted.notes[(size_t) i];
            const auto& copy = inverted.notes[(size_t) i + 8];
            const auto rank = std::find (used.begin(), used.end(), first.number) - used.begin();
            EXPECT_EQ (std::pair (copy.timestamp, copy.number), std::pair (first.timestamp + half, used[used.size() - 1 - (size_t) rank]));
        }

        // Response: the same rhythm on new rows, a chord still on distinct rows.
        auto chords = makeSettings (Polyphony::chords, Mode::response, 100, 2);
        chords.chordDensity = 22.0f; // two companions: 9 other rows * 22 % rounds to 2
        const auto response = generateWithSeed (makeSequence ({}), rows, chords, spreadSeed (seed));
        ASSERT_EQ (response.notes.size(), 24u);

        for (auto t : { 1920, 2400, 2880, 3360 })
        {
            std::set<int> distinct;
            for (const auto& note : notesAt (response, t))
                if (note.length == 480)
                    distinct.insert (note.number);

            EXPECT_EQ (notesAt (response, t).size(), 3u);
            EXPECT_EQ (distinct.size(), 3u);
        }
    }
}

TEST (NoteGeneration, attributeTargetsRedrawOnlyTheirAttributeOnUnlockedRows)
{
    const auto rows = makeRows (3, { 2 });
    auto phrase = makeSequence ({ makeNote (0, 0, 240, 50), makeNote (1, 480, 240, 50), makeNote (2, 960, 240, 50) });
    phrase.notes[2].transposeMin = -5;
    phrase.notes[2].chance = 40;

    auto settings = makeSettings (Polyphony::mono);
    settings.velocityMin = 60;
    settings.velocityMax = 40; // the minimum wins
    const auto velocity = generateWithSeed (phrase, rows, settings, 11, Target::velocity);
    EXPECT_EQ (std::tuple (velocity.notes[0].velocityMin, velocity.notes[1].velocityMax, velocity.notes[0].timestamp), std::tuple (60, 60, 0));
    EXPECT_EQ (velocity.notes[2], phrase.notes[2]);

    settings.transposeMin = -3;
    settings.transposeMax = 4;
    settings.transposeChance = 0;
    auto crowded = phrase;
    for (int i = 0; i < 2000; ++i)
        crowded.notes.push_back (makeNote (i % 2, i, 1));
    crowded.normalise();
    EXPECT_EQ (generateWithSeed (crowded, rows, settings, 12, Target::transpose).notes, crowded.notes);

    settings.transposeChance = 100;
    std::set<int> transpositions;

    for (juce::int64 seed = 1; seed <= 30; ++seed)
    {
        const auto transposed = generateWithSeed (phrase, rows, settings, spreadSeed (seed), Target::transpose);

        for (int i = 0; i < 2; ++i)
        {
            const auto& note = transposed.notes[(size_t) i];
            EXPECT_TRUE (note.transposeMin == note.transposeMax && note.transposeMin >= -3 && note.transposeMin <= 4) << note.transposeMin;
            transpositions.insert (note.transposeMin);
        }

        EXPECT_EQ (transposed.notes[2], phrase.notes[2]);
    }

    EXPECT_EQ (transpositions.size(), 8u);

    settings.chanceMin = settings.chanceMax = 70;
    const auto chance = generateWithSeed (phrase, rows, settings, 13, Target::chance);
    EXPECT_EQ (std::tuple (chance.notes[0].chance, chance.notes[2].chance, chance.notes[0].velocityMin), std::tuple (70, 40, 50));
}

TEST (NoteGeneration, aSeedReplaysARunAndAnotherSeedGivesAnother)
{
    auto settings = makeSettings (Polyphony::poly, Mode::random, 60, 1);
    settings.velocityMin = 10;
    settings.velocityMax = 110;
    settings.transposeChance = settings.octaveChance = 50;

    // The editor's own seeding goes through the shared random source, so tools can fix it.
    const auto seeded = [&] (juce::int64 seed)
    {
        tarn::RandomSource::setFixedSeed (seed);
        const auto notes = PhraseGenerator::generate (makeSequence ({}), makeRows (4), settings, {}, Target::phrase).notes;
        tarn::RandomSource::clearFixedSeed();
        return notes;
    };
    EXPECT_EQ (seeded (5), seeded (5));
    EXPECT_NE (seeded (5), seeded (spreadSeed (5)));
}

TEST (NoteGeneration, lockedRowsAndEmptyPhrasesAreHandledByEveryTarget)
{
    const auto phrase = makeSequence ({ makeNote (0, 0, 240), makeNote (1, 240, 240) });

    for (int index = 0; index <= 6; ++index)
    {
        const auto target = *consts::regenerationModeFromIndex (index);
        SCOPED_TRACE ("target " + std::to_string (index));

        // Every row locked: nothing at all changes, not even the controllers.
        auto withLane = phrase;
        withLane.lanes.push_back ({});
        juce::ValueTree node (ControllerGeneration::Ids::generation);
        node.appendChild (juce::ValueTree (ControllerGeneration::Ids::ccGenerator, { { "enable", true }, { "density", 100 } }), nullptr);
        const auto locked = generateWithSeed (withLane, makeRows (2, { 0, 1 }), makeSettings (Polyphony::poly), 1, target, node);
        EXPECT_TRUE (tarn::SequenceEditing::hasSameContent (locked, withLane));

        // A phrase with no time gets no notes, after the bounded number of empty passes.
        const auto empty = generateWithSeed (makeSequence ({}, 0), makeRows (2), makeSettings (Polyphony::mono, Mode::response), 1, target);
        EXPECT_TRUE (empty.notes.empty());
    }

    EXPECT_FALSE (consts::regenerationModeFromIndex (7).has_value());
    EXPECT_FALSE (consts::regenerationModeFromIndex (-1).has_value());
}

TEST (NoteGeneration, everyTargetKeepsThePhraseValidAndLockedNotesIntact)
{
    const auto seed = freshSeed();
    SCOPED_TRACE ("seed " + std::to_string (seed));
    juce::Random random (seed);

    for (int round = 0; round < 200; ++round)
    {
        std::set<int> lockedRows;
        const auto numRows = 1 + random.nextInt (12);
        for (int row = 0; row < numRows; ++row)
            if (random.nextInt (3) == 0)
                lockedRows.insert (row);

        const auto rows = makeRows (numRows, lockedRows);
        auto phrase = makeSequence ({}, 120 * random.nextInt (80));
        for (int i = random.nextInt (6); --i >= 0;)
            if (phrase.getLength() > 0)
                phrase.notes.push_back (makeNote (random.nextInt (numRows + 2), random.nextInt (phrase.getLength()), 1 + random.nextInt (500)));
        phrase.normalise();

        GenerationSettings settings;
        settings.polyphony = (Polyphony) random.nextInt (3);
        settings.mode = (Mode) random.nextInt (4);
        settings.lengthIndex = random.nextInt (6);
        settings.lengthVariation = random.nextFloat() * 100.0f;
        settings.density = random.nextInt (101);
        settings.chordDensity = random.nextFloat() * 100.0f;
        settings.velocityMin = 1 + random.nextInt (127);
        settings.velocityMax = 1 + random.nextInt (127);
        settings.chanceMin = random.nextInt (101);
        settings.chanceMax = random.nextInt (101);

        const auto target = (Target) random.nextInt (7);
        const auto result = generateWithSeed (phrase, rows, settings, random.nextInt64(), target);
        const auto isUnlocked = [&] (int row)
        { return row >= 0 && row < numRows && lockedRows.count (row) == 0; };

        std::multiset<std::tuple<int, int, int, int>> keptBefore, keptAfter;
        for (const auto& note : phrase.notes)
            if (! isUnlocked (note.number))
                keptBefore.insert ({ note.number, note.timestamp, note.length, note.velocityMin });

        for (size_t i = 0; i < result.notes.size(); ++i)
        {
            const auto& note = result.notes[i];
            EXPECT_TRUE (i == 0 || result.notes[i - 1].timestamp <= note.timestamp);
            EXPECT_TRUE (note.velocityMin <= note.velocityMax && note.transposeMin <= note.transposeMax && note.octaveMin <= note.octaveMax);

            if (! isUnlocked (note.number))
            {
                keptAfter.insert ({ note.number, note.timestamp, note.length, note.velocityMin });
                continue;
            }

            const auto newNotes = target == Target::phrase || target == Target::notes;

            EXPECT_TRUE (! newNotes || (note.timestamp >= 0 && note.timestamp < result.getLength() && note.getEnd() <= result.getLength() && note.length >= 1));
            EXPECT_TRUE (! (newNotes || target == Target::chance) || (note.chance >= settings.chanceMin && note.chance <= std::max (settings.chanceMin, settings.chanceMax))) << note.chance;
            EXPECT_TRUE (! (newNotes || target == Target::velocity) || (note.velocityMin >= settings.velocityMin && note.velocityMax <= std::max (settings.velocityMin, settings.velocityMax)));
        }

        EXPECT_EQ (keptBefore, keptAfter);
        EXPECT_EQ (result.getLength(), phrase.getLength());

        if (HasFailure())
            return;
    }
}

TEST (GenerationSettings, snapshotsReadTheParametersRoundedAndClamped)
{
    Cadenzium2AudioProcessor processor;
    const std::pair<const char*, float> values[] = { { "g_note_polyphony", 2.0f }, { "g_note_mode", 3.0f }, { "g_note_length", 5.0f }, { "g_note_density", 62.5f }, { "g_chord_density", 33.3f }, { "g_velocity_min", 90.0f }, { "g_velocity_max", 40.0f }, { "g_transpose_min", -24.0f }, { "g_octave_chance", 57.0f }, { "m_notes_changed", 12.0f }, { "m_timing", 2.0f }, { "m_length", 50.0f } };

    for (const auto& [id, value] : values)
        processor.setRawParameterValueNotifyingHost (id, value);

    const auto g = GenerationSettings::fromParameters (processor.getParameterState());
    EXPECT_TRUE (g.polyphony == GenerationSettings::Polyphony::chords && g.mode == GenerationSettings::Mode::reverse);
    EXPECT_NEAR (g.chordDensity, 33.3f, 0.01f);
    // The minimum is kept above the maximum (it wins when drawing); halves round to even.
    EXPECT_EQ (std::tuple (g.lengthIndex, g.velocityMin, g.velocityMax, g.transposeMin, g.octaveChance, g.density), std::tuple (5, 90, 40, -24, 57, 62));

    const auto m = MutationSettings::fromParameters (processor.getParameterState());
    EXPECT_EQ (std::tuple (m.chance, m.timing, m.pitch, m.length), std::tuple (12, 2, 1, 50));
}

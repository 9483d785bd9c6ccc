#include <tarn/gui/NoteGridMenuCommands.h>
#include <tarn/sequence/SequenceEditing.h>
#include <tests/support/Phrases.h>
#include <tests/support/TestSeed.h>

#include <gtest/gtest.h>

#include <functional>

using namespace tarn;
using namespace cadenzium::test;
namespace edit = tarn::SequenceEditing;

namespace
{
using Operation = std::function<SequenceEdit (const Sequence&, const NoteSelection&)>;

Operation flatten = [] (const Sequence& s, const NoteSelection& sel) { return edit::flattenRepeats (s, sel, 0); };

/** The notes in an order that does not depend on how notes that start together were sorted. */
std::vector<std::tuple<int, int, int>> notesInOrder (const Sequence& s)
{
    auto notes = notesOf (s);
    std::sort (notes.begin(), notes.end());
    return notes;
}

NoteSelection makeRandomSelection (const Sequence& s, juce::Random& random)
{
    NoteSelection selection;

    for (int i = 0; i < (int) s.notes.size(); ++i)
        if (random.nextBool())
            selection.add (i);

    return selection;
}

/** What every editing operation promises: notes sorted and where a stored phrase can hold
    them (past the phrase end, silent, is allowed), ordered ranges, rows inside the ones used
    before, loops that loop, and a selection that names notes of the result. */
void expectValid (const Sequence& before, const SequenceEdit& result, const char* operation)
{
    SCOPED_TRACE (operation);
    const auto& s = result.sequence;
    int lowestRow = 128, highestRow = -1;

    for (const auto& note : before.notes)
    {
        lowestRow = std::min (lowestRow, note.number);
        highestRow = std::max (highestRow, note.number);
    }

    for (size_t i = 0; i < s.notes.size(); ++i)
    {
        const auto& n = s.notes[i];
        EXPECT_TRUE (s.notes[i > 0 ? i - 1 : 0].timestamp <= n.timestamp && n.timestamp >= 0 && n.timestamp <= Sequence::maxLength && n.length >= 0 && n.length <= Sequence::maxLength) << i;
        EXPECT_TRUE (n.velocityMin <= n.velocityMax && n.transposeMin <= n.transposeMax && n.octaveMin <= n.octaveMax) << i;
        EXPECT_TRUE (n.number >= lowestRow && n.number <= highestRow) << i;
    }

    for (const auto& loop : s.loops)
        EXPECT_TRUE (loop == RowLoop() || (loop.isSet() && loop.end <= s.getLength()));

    EXPECT_TRUE (s.getLength() > 0 && s.getLength() <= Sequence::maxLength);

    for (auto p : result.selection.getPositions())
        EXPECT_TRUE (juce::isPositiveAndBelow (p, (int) s.notes.size()));

    EXPECT_TRUE (result.outcome == EditOutcome::changed || edit::hasSameContent (s, before));
}
} // namespace

TEST (SequenceModel, normaliseSortsNotesDropsLoopsThatCannotLoopAndSetLengthClamps)
{
    Sequence s;
    s.notes = { makeNote (1, 3000, 1000), makeNote (2, 0, 240), makeNote (3, 960, 240) };
    ControllerLane lane;
    lane.points = { { 4500, 10, 0.5f, 0 } };
    s.lanes.push_back (lane);
    s.loops[63] = { -5, 100 }; // (the loops reading drops are in the serialisation tests)
    s.loops[64] = { 0, 960 };
    s.loops[65] = { 960, 5000 }; // runs past the end: still a loop from 960
    s.normalise();
    EXPECT_EQ (std::tuple (s.notes[0].number, s.notes[1].number, s.notes[2].number), std::tuple (2, 3, 1));
    EXPECT_EQ (s.getContentEnd(), 4500);
    s.lanes.clear();
    s.normalise();
    EXPECT_EQ (s.getContentEnd(), 4000);

    EXPECT_FALSE (s.loops[63].isSet());
    EXPECT_EQ (s.loops[64], (RowLoop { 0, 960 }));
    EXPECT_EQ (s.loops[65], (RowLoop { 960, 5000 }));
    s.setLength (960); // the loop at 64 now covers everything
    s.normalise();
    EXPECT_FALSE (s.loops[64].isSet());
    s.playbackStart = 500;
    s.setLength (0);
    EXPECT_EQ (s.playbackStart, 500);
    EXPECT_EQ (s.getEffectivePlaybackStart(), 0);
    s.setLength (100);
    EXPECT_EQ (s.playbackStart, 99);
    s.setLength (-20);
    EXPECT_EQ (s.getLength(), 0);
    s.setLength (std::numeric_limits<int>::max());
    EXPECT_EQ (s.getLength(), Sequence::maxLength);
}

TEST (SequenceModel, setLaneReplacesTheLaneWithTheSameKeyAndLanesNameThemselves)
{
    Sequence s;
    const auto modulation = controlChange (1, {});
    const auto volume = controlChange (7, {});
    ControllerLane bend;
    bend.points = { { 0, 100, 0.5f, 0 } };
    s.setLane (modulation);
    s.setLane (volume);
    s.setLane (bend);
    bend.points = { { 0, -100, 0.5f, 0 } };
    bend.name = "Wobble";
    s.setLane (bend);
    ASSERT_EQ (s.lanes.size(), 3u);
    EXPECT_EQ (s.lanes[2].points[0].value, -100);
    EXPECT_EQ (s.lanes[2].name, "Wobble");
    bend.channel = 2; // a pitch bend lane on another channel is another lane
    s.setLane (bend);
    EXPECT_EQ (s.lanes.size(), 4u);
    const std::tuple<int, int, int, const char*, const char*> cases[] = {
        { ControllerLane::controlChange, 20, 1, "", "CC 20" }, // no name of its own
        { ControllerLane::controlChange, 7, 3, "", "CC 7 - Volume (Ch: 3)" },
        { ControllerLane::pitchBend, -1, 1, "", "Pitch Bend" },
        { ControllerLane::pitchBend, -1, 5, "Filter", "Filter (Ch: 5)" },
    };

    for (const auto& [type, number, channel, name, expected] : cases)
    {
        ControllerLane lane;
        lane.type = type;
        lane.number = number;
        lane.channel = channel;
        lane.name = name;
        EXPECT_EQ (lane.getDisplayName(), expected);
    }
}

TEST (SequenceEditing, noteOperationsGiveTheNotesTheirEdgesCallForAndTheSelectionFollowsItsNotes)
{
    using Notes = std::vector<std::tuple<int, int, int>>;

    struct Case
    {
        const char* why;
        Sequence phrase;
        NoteSelection selection;
        Operation operation;
        Notes expected;
        NoteSelection expectedSelection;
    };

    const auto snap = [] (const Sequence& s, const NoteSelection& sel) { return edit::snapToGrid (s, sel, GridSize (16, GridSize::straight)); };
    const auto clipboard = edit::copyNotes (makeSequence ({ makeNote (60, 480, 240), makeNote (62, 960, 240) }), { 0, 1 });
    const auto pasteAt = [&clipboard] (int position) -> Operation
    { return [&clipboard, position] (const Sequence& s, const NoteSelection& sel) { return edit::paste (s, sel, clipboard, position); }; };

    const Case cases[] = {
        { "reverse: the selection keeps naming its note", makeSequence ({ makeNote (60, 0, 240), makeNote (62, 720, 240) }), { 0 }, edit::reverseAll,
          { { 62, 0, 240 }, { 60, 720, 240 } }, { 1 } },
        { "reverse selection moves only the selected notes", makeSequence ({ makeNote (1, 0, 240), makeNote (2, 480, 240), makeNote (3, 3000, 10) }), { 0, 1 }, edit::reverseSelection,
          { { 2, 0, 240 }, { 1, 480, 240 }, { 3, 3000, 10 } }, { 0, 1 } },
        { "a duplicate landing on an unselected note of its row replaces it", makeSequence ({ makeNote (60, 0, 480), makeNote (62, 480, 480), makeNote (60, 960, 480) }), { 0, 1 }, edit::duplicateSelection,
          { { 60, 0, 480 }, { 62, 480, 480 }, { 60, 960, 480 }, { 62, 1440, 480 } }, { 2, 3 } },
        { "a duplicate past the phrase end is whole", makeSequence ({ makeNote (60, 2880, 960) }), { 0 }, edit::duplicateSelection,
          { { 60, 2880, 960 }, { 60, 3840, 960 } }, { 1 } },
        { "equal strikes share the note", makeSequence ({ makeRepeatingNote (60, 0, 960, SequenceNote::repeatCountTimes, 3) }), {}, flatten,
          { { 60, 0, 320 }, { 60, 320, 320 }, { 60, 640, 320 } }, {} },
        { "a rate longer than the note strikes once", makeSequence ({ makeRepeatingNote (60, 0, 240, SequenceNote::repeatAtRate, 0, GridSize (4, GridSize::straight)) }), {}, flatten,
          { { 60, 0, 240 } }, {} },
        { "the last strike is cut where the note ended", makeSequence ({ makeRepeatingNote (60, 100, 1000, SequenceNote::repeatAtRate, 0, GridSize (16, GridSize::straight)) }), {}, flatten,
          { { 60, 100, 240 }, { 60, 340, 240 }, { 60, 580, 240 }, { 60, 820, 240 }, { 60, 1060, 40 } }, {} },
        { "snap: half steps halve to even, and 960 is past the end", makeSequence ({ makeNote (1, 120, 10), makeNote (2, 360, 10), makeNote (3, 490, 10), makeNote (4, 850, 10) }, 900), {}, snap,
          { { 1, 0, 10 }, { 2, 480, 10 }, { 3, 480, 10 }, { 4, 720, 10 } }, {} },
        { "legato keeps one note per start", makeSequence ({ makeNote (60, 0, 100), makeNote (64, 0, 100), makeNote (67, 0, 100), makeNote (72, 960, 77) }), {}, edit::legato,
          { { 60, 0, 960 }, { 72, 960, 77 } }, {} },
        { "notes pasted near the end are whole and selected", makeSequence ({ makeNote (1, 0, 240) }), { 0 }, pasteAt (3500),
          { { 1, 0, 240 }, { 60, 3500, 240 }, { 62, 3980, 240 } }, { 1, 2 } },
        { "and at the end itself", makeSequence ({ makeNote (1, 0, 240) }), {}, pasteAt (3840),
          { { 1, 0, 240 }, { 60, 3840, 240 }, { 62, 4320, 240 } }, { 1, 2 } },
    };

    for (const auto& c : cases)
    {
        const auto result = c.operation (c.phrase, c.selection);
        EXPECT_EQ (notesOf (result.sequence), c.expected) << c.why;
        EXPECT_EQ (result.selection, c.expectedSelection) << c.why;
    }
}

TEST (SequenceEditing, operationsWithNothingToDoChangeNothingAndThoseThatCannotBeDoneAlert)
{
    auto longest = makeSequence ({ makeNote (60, Sequence::maxLength - 960, 960) });
    longest.setLength (Sequence::maxLength);
    const auto twoNotes = makeSequence ({ makeNote (60, 480, 240), makeNote (62, 960, 240) });
    const auto clipboard = edit::copyNotes (twoNotes, edit::selectAll (twoNotes));
    EXPECT_TRUE (edit::copyNotes (twoNotes, {}).isEmpty());

    const std::tuple<const char*, SequenceEdit, EditOutcome> cases[] = {
        { "invert selection wants two notes", edit::invertSelection (twoNotes, { 1 }), EditOutcome::unchanged },
        { "no strikes: no division by zero", edit::flattenRepeats (makeSequence ({ makeRepeatingNote (60, 0, 960, SequenceNote::repeatCountTimes, 0) }), {}, 0), EditOutcome::unchanged },
        { "one strike is no repeat", edit::flattenRepeats (makeSequence ({ makeRepeatingNote (60, 0, 960, SequenceNote::repeatCountTimes, 1) }), {}, 0), EditOutcome::unchanged },
        { "a duplicate up to the longest phrase", edit::duplicateSelection (longest, { 0 }), EditOutcome::changed },
        { "but not past it", edit::duplicateSelection (edit::duplicateSelection (longest, { 0 }).sequence, { 1 }), EditOutcome::unchanged },
        { "paste with an empty clipboard", edit::paste (twoNotes, { 1 }, {}, 0), EditOutcome::refused },
        { "paste without a position", edit::paste (twoNotes, {}, clipboard, -1), EditOutcome::refused },
        { "double speed of a one-tick phrase", edit::doubleSpeed (makeSequence ({}, 1), {}), EditOutcome::refused },
        { "half speed of the longest phrase", edit::halfSpeed (longest, {}), EditOutcome::refused },
    };

    for (const auto& [why, result, expected] : cases)
        EXPECT_EQ (result.outcome, expected) << why;

    EXPECT_FALSE (edit::canFlattenRepeats (makeRepeatingNote (60, 0, 960, SequenceNote::repeatCountTimes, 1)));
    const auto refused = edit::paste (twoNotes, { 1 }, {}, 0);
    EXPECT_TRUE (edit::hasSameContent (refused.sequence, twoNotes));
    EXPECT_EQ (refused.selection, NoteSelection ({ 1 }));
}

TEST (SequenceEditing, speedChangesScaleEverythingAndRoundingHalvesToEven)
{
    auto s = makeSequence ({ makeNote (60, 0, 1), makeNote (61, 960, 480) });
    s.loops[61] = { 960, 1920 };
    s.loops[62] = { 3, 4 };
    s.playbackStart = 1000;
    ControllerLane lane;
    lane.points = { { 0, 1, 0.5f, 0 }, { 2000, 2, 0.5f, 0 } };
    s.lanes.push_back (lane);
    const auto faster = edit::doubleSpeed (s, {});
    ASSERT_TRUE (faster.hasChanged());
    EXPECT_EQ (faster.sequence.getLength(), 1920);
    EXPECT_EQ (faster.sequence.notes[0].length, 0); // half of 1, halves to even
    EXPECT_EQ (faster.sequence.loops[61], (RowLoop { 480, 960 }));
    EXPECT_FALSE (faster.sequence.loops[62].isSet()); // (1.5, 2) rounds to (2, 2): no region left
    EXPECT_EQ (faster.sequence.playbackStart, 500);
    EXPECT_EQ (faster.sequence.lanes[0].points[1].timestamp, 1000);
}

TEST (SequenceEditing, repeatsAreSetAlikeOnEverySelectedNoteAndLoopResetsOnlyRealLoops)
{
    const auto s = makeSequence ({ makeNote (60, 0, 960), makeNote (62, 960, 960) });
    const auto counted = edit::setRepeats (s, { 0, 1 }, NoteRepeat::equalStrikes (4));
    for (const auto& note : counted.sequence.notes)
        EXPECT_EQ (std::pair (note.repeatStyle, note.repeatCount), std::pair ((int) SequenceNote::repeatCountTimes, 4));

    const auto synced = edit::setRepeats (counted.sequence, { 1 }, NoteRepeat::atRate ({ 16, GridSize::dotted }));
    EXPECT_EQ (synced.sequence.notes[0].repeatCount, 4);
    EXPECT_EQ (std::pair (synced.sequence.notes[1].repeatStyle, synced.sequence.notes[1].repeatRate.ticks), std::pair ((int) SequenceNote::repeatAtRate, 360));
    EXPECT_EQ (synced.sequence.notes[1].repeatCount, GridSize (16, GridSize::dotted).identifier);
    const auto off = edit::setRepeats (synced.sequence, { 0, 1 }, NoteRepeat::none());
    EXPECT_TRUE (edit::hasSameContent (off.sequence, s));
    EXPECT_EQ (edit::setRepeats (s, { 0 }, NoteRepeat::equalStrikes (99)).sequence.notes[0].repeatCount, 16);
    EXPECT_EQ (edit::setRepeats (s, { 0 }, NoteRepeat::equalStrikes (1)).outcome, EditOutcome::unchanged) << "a single strike is no repeat";

    // Resetting a loop region ignores rows the phrase has no loop for.
    auto looped = s;
    looped.loops[127] = { 0, 960 };
    EXPECT_FALSE (edit::resetLoopRegion (looped, {}, 127).sequence.loops[127].isSet());
    EXPECT_EQ (edit::resetLoopRegion (looped, {}, 130).outcome, EditOutcome::unchanged);
    EXPECT_EQ (edit::resetLoopRegion (looped, {}, -1).outcome, EditOutcome::unchanged);
}

TEST (NoteGridMenus, noteMenuResultsStandForTheirRepeatAndOtherResultsForNone)
{
    EXPECT_EQ (noteRepeatForMenuResult (NoteMenuCommand::repeatsOff)->style, SequenceNote::noRepeats);
    EXPECT_EQ (noteRepeatForMenuResult (201)->style, SequenceNote::noRepeats) << "a single strike";
    EXPECT_EQ (noteRepeatForMenuResult (NoteMenuCommand::lastEqualRepeats)->strikes, NoteRepeat::maxEqualStrikes);

    const auto dottedSixteenth = GridSize (16, GridSize::dotted);
    const auto synced = noteRepeatForMenuResult (dottedSixteenth.identifier);
    ASSERT_TRUE (synced.has_value());
    EXPECT_EQ (std::pair (synced->style, synced->rate), std::pair ((int) SequenceNote::repeatAtRate, dottedSixteenth));

    for (int other : { 199, 300, NoteMenuCommand::copy, NoteMenuCommand::flattenRepeats, -1 })
        EXPECT_FALSE (noteRepeatForMenuResult (other).has_value()) << other;
}

TEST (SequenceEditing, valueEditorResetsOneModeAndCollapsesRangesWhenRangeModeGoesOff)
{
    auto note = makeNote (60, 0, 240, 20, 90);
    note.chance = 30;
    note.transposeMin = -3;
    note.transposeMax = 5;
    const auto s = makeSequence ({ note });
    const auto chanceReset = edit::resetAllValues (s, {}, ValueEditorMode::chance);
    EXPECT_EQ (std::pair (chanceReset.sequence.notes[0].chance, chanceReset.sequence.notes[0].velocityMin), std::pair (100, 20));
    EXPECT_EQ (edit::resetAllValues (s, {}, ValueEditorMode::velocity).sequence.notes[0].velocityMax, 100);
    const auto collapsed = edit::setRangeMode (s, {}, ValueEditorMode::transpose, true, false);
    EXPECT_EQ (std::pair (collapsed.sequence.notes[0].transposeMax, collapsed.sequence.notes[0].velocityMax), std::pair (-3, 90));
    EXPECT_EQ (edit::setRangeMode (s, {}, ValueEditorMode::velocity, false, false).outcome, EditOutcome::unchanged);
    EXPECT_EQ (edit::setRangeMode (s, {}, ValueEditorMode::velocity, false, true).outcome, EditOutcome::unchanged);
    EXPECT_FALSE (edit::modeHasRange (ValueEditorMode::chance));
}

TEST (SequenceEditing, overlapResolutionSettlesTheSelectedNoteAgainstItsRow)
{
    const auto selected = makeNote (60, 960, 960); // covers 960 .. 1920

    // (the other note, every note left as (row, start, length) in order)
    const std::pair<SequenceNote, std::vector<std::tuple<int, int, int>>> cases[] = {
        { makeNote (60, 960, 960), { { 60, 960, 960 } } }, // same extent
        { makeNote (60, 1200, 240), { { 60, 960, 960 } } }, // inside
        { makeNote (60, 480, 2000), { { 60, 480, 480 }, { 60, 960, 960 } } }, // over it
        { makeNote (60, 480, 960), { { 60, 480, 480 }, { 60, 960, 960 } } }, // ending inside
        { makeNote (60, 1440, 960), { { 60, 960, 960 }, { 60, 1920, 480 } } }, // starting inside
        { makeNote (60, 1920, 240), { { 60, 960, 960 }, { 60, 1920, 240 } } }, // after it
        { makeNote (61, 960, 960), { { 60, 960, 960 }, { 61, 960, 960 } } }, // another row
    };

    for (const auto& [other, expected] : cases)
    {
        const auto s = makeSequence ({ selected, other });
        const auto result = edit::resolveOverlaps (s, { s.notes[0] == selected ? 0 : 1 });
        auto left = notesOf (result.sequence);
        std::sort (left.begin(), left.end());
        EXPECT_EQ (left, expected) << other.number << " at " << other.timestamp;
        ASSERT_EQ (result.selection.size(), 1);
        EXPECT_EQ (result.sequence.notes[(size_t) result.selection.getPositions()[0]], selected);
    }

    // Two identical selected notes do not wipe each other out.
    const auto twins = edit::resolveOverlaps (makeSequence ({ selected, selected }), { 0, 1 });
    EXPECT_EQ (twins.sequence.notes.size(), 1u);
}

TEST (SequenceEditingProperties, everyOperationKeepsThePhraseValidAndSpeedChangesUndoEachOther)
{
    const auto seed = testSeed (0x5eed0f7a11ed17);
    SCOPED_TRACE ("seed " + std::to_string (seed));
    juce::Random random (seed);
    const std::vector<std::pair<const char*, Operation>> operations {
        { "repeats", [&] (const Sequence& s, const NoteSelection& sel)
          { return edit::setRepeats (s, sel, NoteRepeat::equalStrikes (random.nextInt (100))); } },
        { "sync repeats", [&] (const Sequence& s, const NoteSelection& sel)
          { return edit::setRepeats (s, sel, NoteRepeat::atRate (GridSize::all()[(size_t) random.nextInt (24)])); } },
        { "delete", edit::deleteNotes },
        { "paste", [&] (const Sequence& s, const NoteSelection& sel)
          { return edit::paste (s, sel, edit::copyNotes (s, sel), random.nextInt (s.getLength() + 10) - 5); } },
        { "invert all", edit::invertAll },
        { "invert selection", edit::invertSelection },
        { "reverse all", [&] (const Sequence& s, const NoteSelection& sel)
          {
              // Mirroring twice gives every note back.
              const auto once = edit::reverseAll (s, sel);
              EXPECT_EQ (notesInOrder (edit::reverseAll (once.sequence, {}).sequence), notesInOrder (s));
              return once;
          } },
        { "reverse selection", edit::reverseSelection },
        { "duplicate", edit::duplicateSelection },
        { "flatten", [&] (const Sequence& s, const NoteSelection& sel)
          { return edit::flattenRepeats (s, sel, random.nextInt ((int) s.notes.size() + 1)); } },
        { "reset loop", [&] (const Sequence& s, const NoteSelection& sel)
          { return edit::resetLoopRegion (s, sel, random.nextInt (140)); } },
        { "half speed", edit::halfSpeed },
        { "double speed", edit::doubleSpeed },
        { "legato", edit::legato },
        { "snap", [&] (const Sequence& s, const NoteSelection& sel)
          { return edit::snapToGrid (s, sel, GridSize::all()[(size_t) random.nextInt (24)]); } },
        { "reset values", [&] (const Sequence& s, const NoteSelection& sel)
          { return edit::resetAllValues (s, sel, (ValueEditorMode) random.nextInt (4)); } },
        { "range off", [&] (const Sequence& s, const NoteSelection& sel)
          { return edit::setRangeMode (s, sel, (ValueEditorMode) random.nextInt (4), true, false); } },
        { "overlaps", edit::resolveOverlaps },
    };

    for (int round = 0; round < 300; ++round)
    {
        const auto s = makeRandomSequence (random, { 10, 8 }); // few rows: many overlaps
        const auto selection = makeRandomSelection (s, random);

        for (const auto& [name, operation] : operations)
            expectValid (s, operation (s, selection), name);

        // Chains of edits stay valid too, as a user's session would apply them.
        auto chained = SequenceEdit { s, selection, EditOutcome::unchanged };

        for (int step = 0; step < 8; ++step)
        {
            const auto& [name, operation] = operations[(size_t) random.nextInt ((int) operations.size())];
            const auto before = chained.sequence;
            chained = operation (before, chained.selection);
            expectValid (before, chained, name);
        }

        // Half speed and double speed undo each other: slowed, every time is even.
        if (const auto slower = edit::halfSpeed (s, {}); slower.hasChanged())
        {
            EXPECT_TRUE (edit::hasSameContent (edit::doubleSpeed (slower.sequence, {}).sequence, s));
        }

        if (HasFailure())
            return;
    }
}

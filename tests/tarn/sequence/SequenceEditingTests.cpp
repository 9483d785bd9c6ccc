#include <tests/support/Phrases.h>

#include <tarn/gui/NoteGridMenuCommands.h>
#include <tarn/sequence/SequenceEditing.h>

#include <gtest/gtest.h>

#include <functional>

using namespace tarn;
namespace edit = tarn::SequenceEditing;

using namespace cadenzium::test;

namespace
{
using Operation = std::function<SequenceEdit (const Sequence&, const NoteSelection&)>;

Operation flatten = [] (const Sequence& s, const NoteSelection& sel) { return edit::flattenRepeats (s, sel, 0); };
} // namespace

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
    };

    for (const auto& [why, result, expected] : cases)
        EXPECT_EQ (result.outcome, expected) << why;

    EXPECT_FALSE (edit::canFlattenRepeats (makeRepeatingNote (60, 0, 960, SequenceNote::repeatCountTimes, 1)));
    const auto refused = edit::paste (twoNotes, { 1 }, {}, 0);
    EXPECT_TRUE (edit::hasSameContent (refused.sequence, twoNotes));
    EXPECT_EQ (refused.selection, NoteSelection ({ 1 }));
}

TEST (SequenceEditing, speedChangesScaleEverythingRoundingHalvesToEvenAndNeverGrowPastTheLongestPhrase)
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

    // A phrase never grows past the longest the program handles, however often it is slowed.
    auto grown = s;
    int refusals = 0;

    for (int press = 0; press < 25; ++press)
    {
        const auto result = edit::halfSpeed (grown, {});
        refusals += result.shouldPlayAlert() ? 1 : 0;
        grown = result.sequence;
        ASSERT_GT (grown.getLength(), 0);
        ASSERT_LE (grown.getLength(), Sequence::maxLength);
    }

    EXPECT_GT (refusals, 0);
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

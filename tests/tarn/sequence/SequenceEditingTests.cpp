#include <tests/support/Phrases.h>

#include <tarn/gui/NoteGridMenuCommands.h>
#include <tarn/sequence/SequenceEditing.h>

#include <gtest/gtest.h>

using namespace tarn;
namespace edit = tarn::SequenceEditing;

using cadenzium::test::findNote;
using cadenzium::test::makeNote;
using cadenzium::test::makeSequence;

TEST (SequenceEditing, reverseMirrorsTimesInsideTheSpanAndTheSelectionFollowsItsNotes)
{
    // The selection keeps naming the same notes after they are re-sorted.
    const auto pair = makeSequence ({ makeNote (60, 0, 240), makeNote (62, 720, 240) });
    const auto reversed = edit::reverseAll (pair, { 0 });
    ASSERT_EQ (reversed.sequence.notes.size(), 2u);
    EXPECT_EQ (reversed.sequence.notes[0], makeNote (62, 0, 240));
    EXPECT_EQ (reversed.sequence.notes[1], makeNote (60, 720, 240));
    EXPECT_EQ (reversed.selection, NoteSelection ({ 1 }));

    // The selection versions want two notes, and only move the selected ones.
    EXPECT_EQ (edit::invertSelection (pair, { 1 }).outcome, EditOutcome::unchanged);
    const auto partly = edit::reverseSelection (makeSequence ({ makeNote (1, 0, 240), makeNote (2, 480, 240), makeNote (3, 3000, 10) }), { 0, 1 });
    EXPECT_NE (findNote (partly.sequence, 1, 480), nullptr);
    EXPECT_NE (findNote (partly.sequence, 2, 0), nullptr);
    EXPECT_NE (findNote (partly.sequence, 3, 3000), nullptr);
}

TEST (SequenceEditing, duplicateSelectionAddsCopiesAfterItsSpanAndSettlesOverlaps)
{
    // The copy of the note at 0 lands exactly on an unselected note of its row at 960.
    const auto s = makeSequence ({ makeNote (60, 0, 480), makeNote (62, 480, 480), makeNote (60, 960, 480) });
    const auto result = edit::duplicateSelection (s, { 0, 1 });
    ASSERT_TRUE (result.hasChanged());
    ASSERT_EQ (result.sequence.notes.size(), 4u);
    EXPECT_NE (findNote (result.sequence, 60, 960), nullptr);
    EXPECT_NE (findNote (result.sequence, 62, 1440), nullptr);
    ASSERT_EQ (result.selection.size(), 2);

    for (auto p : result.selection.getPositions())
        EXPECT_GE (result.sequence.notes[(size_t) p].timestamp, 960);

    // Copies are whole wherever they land, past the phrase end too (silent until it grows),
    // but not past the longest phrase.
    const auto late = makeSequence ({ makeNote (60, 2880, 960) });
    const auto beyond = edit::duplicateSelection (late, { 0 });
    ASSERT_EQ (beyond.sequence.notes.size(), 2u);
    EXPECT_EQ (beyond.sequence.notes[1], makeNote (60, 3840, 960));

    auto longest = makeSequence ({ makeNote (60, Sequence::maxLength - 960, 960) });
    longest.setLength (Sequence::maxLength);
    EXPECT_EQ (edit::duplicateSelection (longest, { 0 }).outcome, EditOutcome::changed);
    EXPECT_EQ (edit::duplicateSelection (edit::duplicateSelection (longest, { 0 }).sequence, { 1 }).outcome, EditOutcome::unchanged);
}

TEST (SequenceEditing, flattenRepeatsGivesTheStrikesThatPlaybackMakes)
{
    auto counted = makeNote (60, 0, 960);
    counted.repeatStyle = SequenceNote::repeatCountTimes;
    counted.repeatCount = 3;
    const auto equal = edit::flattenRepeats (makeSequence ({ counted }), {}, 0);
    ASSERT_EQ (equal.sequence.notes.size(), 3u);
    EXPECT_EQ (equal.sequence.notes[2], makeNote (60, 640, 320));

    // One strike (or none) is not a repeat: nothing to flatten, and no division by zero.
    for (auto strikes : { 0, 1 })
    {
        counted.repeatCount = strikes;
        EXPECT_FALSE (edit::canFlattenRepeats (counted));
        EXPECT_EQ (edit::flattenRepeats (makeSequence ({ counted }), {}, 0).outcome, EditOutcome::unchanged);
    }

    // A rate longer than the note strikes once for the note's own length.
    auto slow = makeNote (60, 0, 240);
    slow.repeatStyle = SequenceNote::repeatAtRate;
    slow.repeatRate = GridSize (4, GridSize::straight);
    const auto once = edit::flattenRepeats (makeSequence ({ slow }), {}, 0);
    ASSERT_EQ (once.sequence.notes.size(), 1u);
    EXPECT_EQ (once.sequence.notes[0].length, 240);

    // The last strike is cut where the note ended.
    auto fast = makeNote (60, 100, 1000);
    fast.repeatStyle = SequenceNote::repeatAtRate;
    fast.repeatRate = GridSize (16, GridSize::straight);
    const auto strikes = edit::flattenRepeats (makeSequence ({ fast }), {}, 0);
    ASSERT_EQ (strikes.sequence.notes.size(), 5u);
    EXPECT_EQ (strikes.sequence.notes.back(), makeNote (60, 1060, 40));
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
    EXPECT_TRUE (edit::doubleSpeed (makeSequence ({}, 1), {}).shouldPlayAlert());
}

TEST (SequenceEditing, pasteNeedsAClipboardAndAPositionAndKeepsEveryNoteWhole)
{
    const auto s = makeSequence ({ makeNote (60, 480, 240), makeNote (62, 960, 240) });
    const auto empty = edit::paste (s, { 1 }, {}, 0);
    EXPECT_TRUE (empty.shouldPlayAlert());
    EXPECT_TRUE (edit::hasSameContent (empty.sequence, s));
    EXPECT_EQ (empty.selection, NoteSelection ({ 1 }));
    const auto clipboard = edit::copyNotes (s, edit::selectAll (s));
    EXPECT_EQ (clipboard.earliestStart, 480);
    EXPECT_TRUE (edit::paste (s, {}, clipboard, -1).shouldPlayAlert());
    EXPECT_TRUE (edit::copyNotes (s, {}).isEmpty());

    // Near or at the end the notes are pasted whole, with their length and settings, and
    // become the selection.
    for (auto position : { 3500, s.getLength() })
    {
        const auto whole = edit::paste (s, { 0 }, clipboard, position);
        ASSERT_EQ (whole.sequence.notes.size(), 4u) << position;
        EXPECT_EQ (whole.selection, NoteSelection ({ 2, 3 }));
        EXPECT_EQ (whole.sequence.notes[2], makeNote (60, position, 240));
        EXPECT_EQ (whole.sequence.notes[3], makeNote (62, position + 480, 240));
    }
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
    EXPECT_EQ (std::pair (noteRepeatForMenuResult (204)->style, noteRepeatForMenuResult (204)->strikes), std::pair ((int) SequenceNote::repeatCountTimes, 4));
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

TEST (SequenceEditing, snapMovesStartsToTheNearestGridLineAndLegatoJoinsOneNotePerStart)
{
    const auto s = makeSequence ({ makeNote (1, 120, 10), makeNote (2, 360, 10), makeNote (3, 490, 10), makeNote (4, 850, 10) }, 900);
    const auto snapped = edit::snapToGrid (s, {}, GridSize (16, GridSize::straight));
    EXPECT_NE (findNote (snapped.sequence, 1, 0), nullptr); // 0.5 steps: halves to even
    EXPECT_NE (findNote (snapped.sequence, 2, 480), nullptr); // 1.5 steps
    EXPECT_NE (findNote (snapped.sequence, 3, 480), nullptr);
    EXPECT_NE (findNote (snapped.sequence, 4, 720), nullptr); // 960 is past the end

    const auto joined = edit::legato (makeSequence ({ makeNote (60, 0, 100), makeNote (64, 0, 100), makeNote (67, 0, 100), makeNote (72, 960, 77) }), {});
    ASSERT_EQ (joined.sequence.notes.size(), 2u);
    EXPECT_EQ (std::pair (joined.sequence.notes[0].timestamp, joined.sequence.notes[0].length), std::pair (0, 960));
    EXPECT_EQ (joined.sequence.notes[1], makeNote (72, 960, 77));
}

TEST (SequenceEditing, overlapResolutionSettlesTheSelectedNoteAgainstItsRow)
{
    const auto selected = makeNote (60, 960, 960); // covers 960 .. 1920

    struct Case
    {
        SequenceNote other;
        bool kept;
        int start, length;
    };

    const Case cases[] = {
        { makeNote (60, 960, 960), false, 0, 0 }, // 1: same extent
        { makeNote (60, 1200, 240), false, 0, 0 }, // 2: inside
        { makeNote (60, 480, 2000), true, 480, 480 }, // 3: over it
        { makeNote (60, 480, 960), true, 480, 480 }, // 4: ending inside
        { makeNote (60, 1440, 960), true, 1920, 480 }, // 5: starting inside
        { makeNote (60, 1920, 240), true, 1920, 240 }, // 6: after it
        { makeNote (61, 960, 960), true, 960, 960 }, // 6: another row
    };

    for (const auto& c : cases)
    {
        auto s = makeSequence ({ selected, c.other });
        const auto selectedPosition = s.notes[0] == selected ? 0 : 1;
        const auto result = edit::resolveOverlaps (s, { selectedPosition });
        ASSERT_EQ (result.selection.size(), 1);
        EXPECT_EQ (result.sequence.notes[(size_t) result.selection.getPositions()[0]], selected);
        ASSERT_EQ (result.sequence.notes.size(), c.kept ? 2u : 1u);

        if (c.kept)
        {
            const auto& other = result.sequence.notes[(size_t) (1 - result.selection.getPositions()[0])];
            EXPECT_EQ (std::pair (other.timestamp, other.length), std::pair (c.start, c.length));
        }
    }

    // Two identical selected notes do not wipe each other out.
    const auto twins = edit::resolveOverlaps (makeSequence ({ selected, selected }), { 0, 1 });
    EXPECT_EQ (twins.sequence.notes.size(), 1u);
}

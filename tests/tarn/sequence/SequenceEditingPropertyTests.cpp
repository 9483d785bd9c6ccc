#include <tests/support/Phrases.h>

#include <tarn/sequence/SequenceEditing.h>

#include <tests/support/TestSeed.h>

#include <gtest/gtest.h>

#include <functional>

using namespace tarn;
namespace edit = tarn::SequenceEditing;
using namespace cadenzium::test;

namespace
{
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

TEST (SequenceEditingProperties, everyOperationKeepsThePhraseValidAndSpeedChangesUndoEachOther)
{
    const auto seed = testSeed (0x5eed0f7a11ed17);
    SCOPED_TRACE ("seed " + std::to_string (seed));
    juce::Random random (seed);
    using Operation = std::function<SequenceEdit (const Sequence&, const NoteSelection&)>;
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

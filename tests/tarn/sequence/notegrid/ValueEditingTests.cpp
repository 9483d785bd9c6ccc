#include <tests/support/Phrases.h>

#include <tarn/sequence/notegrid/ValueEditing.h>

#include <gtest/gtest.h>

using namespace tarn;
using namespace cadenzium::test;
using End = ValueEditing::End;

TEST (ValueEditing, heightsMapOntoEachModesValues)
{
    // (mode, y in a 100-pixel editor, value)
    const std::tuple<ValueEditorMode, double, int> cases[] = {
        { ValueEditorMode::velocity, 0.0, 127 },   { ValueEditorMode::velocity, 100.0, 1 },   { ValueEditorMode::velocity, 50.0, 64 },
        { ValueEditorMode::velocity, -30.0, 127 }, { ValueEditorMode::velocity, 300.0, 1 },   { ValueEditorMode::chance, 25.0, 75 },
        { ValueEditorMode::transpose, 50.0, 0 },   { ValueEditorMode::transpose, 0.0, 24 },   { ValueEditorMode::octave, 100.0, -4 },
    };

    for (const auto& [mode, y, expected] : cases)
    {
        const auto value = ValueEditing::valueAt (mode, y, 100.0);
        EXPECT_EQ (value, expected) << "mode " << (int) mode << " y " << y;
        EXPECT_EQ (ValueEditing::valueAt (mode, ValueEditing::yOf (mode, value, 100.0), 100.0), value) << "round trip";
    }
}

TEST (ValueEditing, rangeModeMovesTheNearerEndAndKeepsTheMinimumBelowTheMaximum)
{
    auto note = makeNote (0, 0, 240, 40, 80);

    // (range mode, mode, value, the end it moves)
    const std::tuple<bool, ValueEditorMode, int, End> cases[] = {
        { false, ValueEditorMode::velocity, 100, End::both },   { true, ValueEditorMode::velocity, 100, End::maximum },
        { true, ValueEditorMode::velocity, 60, End::maximum },  { true, ValueEditorMode::velocity, 59, End::minimum },
        { true, ValueEditorMode::chance, 10, End::both },       { true, ValueEditorMode::transpose, -3, End::minimum },
    };

    for (const auto& [rangeMode, mode, value, expectedEnd] : cases)
        EXPECT_EQ (ValueEditing::endNearest (note, mode, rangeMode, value), expectedEnd) << value;

    ValueEditing::setValue (note, ValueEditorMode::velocity, End::minimum, 100);
    EXPECT_EQ (std::pair (note.velocityMin, note.velocityMax), std::pair (100, 100));
    ValueEditing::setValue (note, ValueEditorMode::velocity, End::maximum, 0);
    EXPECT_EQ (std::pair (note.velocityMin, note.velocityMax), std::pair (1, 1));
    ValueEditing::setValue (note, ValueEditorMode::octave, End::both, 9);
    EXPECT_EQ (std::pair (note.octaveMin, note.octaveMax), std::pair (4, 4));
    ValueEditing::setValue (note, ValueEditorMode::chance, End::both, 130);
    EXPECT_EQ (note.chance, 100);

    // Setting a list of notes keeps their order and reports a change only when there is one.
    const auto phrase = makeSequence ({ makeNote (0, 0, 240, 50), makeNote (1, 240, 240, 60) });
    const auto edit = ValueEditing::withValues (phrase, { 1 }, ValueEditorMode::velocity, End::both, { { 0, 70 }, { 1, 60 }, { 9, 1 } });
    EXPECT_TRUE (edit.hasChanged());
    EXPECT_EQ (edit.sequence.notes[0].velocityMax, 70);
    EXPECT_EQ (edit.selection, NoteSelection ({ 1 }));
    EXPECT_FALSE (ValueEditing::withValues (phrase, {}, ValueEditorMode::velocity, End::both, { { 1, 60 } }).hasChanged());
}

#include <tests/support/Phrases.h>

#include <tarn/sequence/notegrid/ValueEditing.h>

#include <gtest/gtest.h>

using namespace tarn;
using cadenzium::test::makeNote;
using cadenzium::test::makeSequence;
using End = ValueEditing::End;

TEST (ValueEditing, heightsMapOntoEachModesValues)
{
    struct Case
    {
        ValueEditorMode mode;
        double y;
        int expected;
    };

    const Case cases[] = {
        { ValueEditorMode::velocity, 0.0, 127 },   { ValueEditorMode::velocity, 100.0, 1 },   { ValueEditorMode::velocity, 50.0, 64 },
        { ValueEditorMode::velocity, -30.0, 127 }, { ValueEditorMode::velocity, 300.0, 1 },   { ValueEditorMode::chance, 25.0, 75 },
        { ValueEditorMode::transpose, 50.0, 0 },   { ValueEditorMode::transpose, 0.0, 24 },   { ValueEditorMode::octave, 100.0, -4 },
    };

    for (const auto& c : cases)
    {
        const auto value = ValueEditing::valueAt (c.mode, c.y, 100.0);
        EXPECT_EQ (value, c.expected) << "mode " << (int) c.mode << " y " << c.y;
        EXPECT_EQ (ValueEditing::valueAt (c.mode, ValueEditing::yOf (c.mode, value, 100.0), 100.0), value) << "round trip";
    }
}

TEST (ValueEditing, rangeModeMovesTheNearerEndAndKeepsTheMinimumBelowTheMaximum)
{
    auto note = makeNote (0, 0, 240, 40, 80);

    struct Case
    {
        bool rangeMode;
        ValueEditorMode mode;
        int value;
        End expectedEnd;
    };

    const Case cases[] = {
        { false, ValueEditorMode::velocity, 100, End::both },   { true, ValueEditorMode::velocity, 100, End::maximum },
        { true, ValueEditorMode::velocity, 60, End::maximum },  { true, ValueEditorMode::velocity, 59, End::minimum },
        { true, ValueEditorMode::chance, 10, End::both },       { true, ValueEditorMode::transpose, -3, End::minimum },
    };

    for (const auto& c : cases)
        EXPECT_EQ (ValueEditing::endNearest (note, c.mode, c.rangeMode, c.value), c.expectedEnd) << c.value;

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

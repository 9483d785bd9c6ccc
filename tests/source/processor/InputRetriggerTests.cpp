#include <source/processor/InputRetrigger.h>
#include <tests/tarn/processor/MidiTestHelpers.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
struct Retrigger
{
    InputNoteTable table;
    KeyswitchExtractor keyswitches { table };

    int find (const std::vector<Event>& input, int mode, const HeldNotes& held = {})
    {
        return InputRetrigger::findTrigger (bufferOf (input), mode, keyswitches, held);
    }
};

HeldNotes holding (std::initializer_list<int> notes)
{
    HeldNotes held;
    for (auto n : notes)
        held.add ({ n, 0.8f, 1 });
    return held;
}
} // namespace

TEST (InputRetrigger, eachModeTriggersOnItsFirstNoteEventAndKeyswitchesNever)
{
    Retrigger r;
    const std::vector<Event> block { on (26, 100, 5), off (60, 10), on (62, 100, 20) };

    EXPECT_EQ (r.find (block, InputRetrigger::off), -1);
    EXPECT_EQ (r.find (block, InputRetrigger::noteOnAndOff), 10);
    EXPECT_EQ (r.find (block, InputRetrigger::noteOn), 20);
    EXPECT_EQ (r.find (block, InputRetrigger::noteOff), 10);
    EXPECT_EQ (r.find ({ cc (1, 2, 0) }, InputRetrigger::noteOnAndOff), -1);

    EXPECT_NEAR (InputRetrigger::positionOf (100, 8.0, 120.0, 48000.0), 8.0 + 100.0 * 120.0 / (60.0 * 48000.0), 1e-12);
}

TEST (InputRetrigger, allNotesOffTriggersOnlyOnANoteAfterAFullRelease)
{
    Retrigger r;
    const auto mode = InputRetrigger::allNotesOff;

    EXPECT_EQ (r.find ({ on (60, 100, 7) }, mode), 7);

    // Legato: the next note starts before the last one ends.
    EXPECT_EQ (r.find ({ on (62, 100, 5), off (60, 9) }, mode, holding ({ 60 })), -1);
    EXPECT_EQ (r.find ({ off (60, 3), on (64, 100, 8) }, mode, holding ({ 60 })), 8);
    EXPECT_EQ (r.find ({ off (60, 3), on (24, 100, 4), on (64, 100, 8) }, mode, holding ({ 60 })), 8) << "a keyswitch is not a note";
}

#include <source/processor/InputRetrigger.h>
#include <tests/support/MidiEvents.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

// "Note On" and "All Notes Off" are played through the pipeline; the other modes only here.
TEST (InputRetrigger, eachModeTriggersOnItsFirstNoteEventAndKeyswitchesNever)
{
    InputNoteTable table;
    KeyswitchExtractor keyswitches { table };
    const auto find = [&] (const std::vector<Event>& input, int mode)
    { return InputRetrigger::findTrigger (bufferOf (input), mode, keyswitches, {}); };
    const std::vector<Event> block { on (26, 100, 5), off (60, 10), on (62, 100, 20) };

    EXPECT_EQ (find (block, InputRetrigger::off), -1);
    EXPECT_EQ (find (block, InputRetrigger::noteOnAndOff), 10);
    EXPECT_EQ (find (block, InputRetrigger::noteOn), 20);
    EXPECT_EQ (find (block, InputRetrigger::noteOff), 10);
    EXPECT_EQ (find ({ cc (1, 2, 0) }, InputRetrigger::noteOnAndOff), -1);
}

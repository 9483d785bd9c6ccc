#include <source/processor/InputRetrigger.h>
#include <source/processor/KeyswitchExtractor.h>
#include <tests/support/MidiEvents.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

// The pipeline plays a keyswitch and its release with keyswitches switched off between;
// here the top range and a range that moves while keys are down.
TEST (Keyswitches, theTopRangeHasEightKeysAndAReleaseIsTakenTheWayItsPressWas)
{
    InputNoteTable table;
    KeyswitchExtractor extractor { table };
    KeyswitchEvents events;
    const auto extract = [&] (const std::vector<Event>& input)
    {
        auto midi = bufferOf (input);
        events.clear();
        extractor.extract (midi, events);
        return eventsOf (midi);
    };

    extractor.setRange (10);
    EXPECT_EQ (extractor.slotForNote (127), 7);
    EXPECT_EQ (extractor.slotForNote (119), -1);

    // 36 is an ordinary note at its press and 26 a keyswitch; the range then moves over both.
    extractor.setRange (2);
    EXPECT_EQ (extract ({ on (26, 100, 3), on (36, 100, 4) }), (std::vector<Event> { on (36, 100, 4) }));
    extractor.setRange (3);
    EXPECT_TRUE (extractor.isKeyswitchEvent (*bufferOf ({ off (26, 6) }).begin()));
    EXPECT_FALSE (extractor.isKeyswitchEvent (*bufferOf ({ off (36, 5) }).begin()));
    EXPECT_EQ (extract ({ off (36, 5), off (26, 6) }), (std::vector<Event> { off (36, 5) }));
    ASSERT_EQ (events.size(), 1);
    EXPECT_EQ (events[0].slot, 2);
    EXPECT_FALSE (events[0].pressed);

    extractor.setEnabled (false);
    EXPECT_EQ (extract ({ on (38, 100, 0) }).size(), 1u) << "a press while switched off is a note";
}

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

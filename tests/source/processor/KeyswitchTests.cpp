#include <source/processor/KeyswitchExtractor.h>
#include <tests/support/MidiEvents.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
struct Keyswitches
{
    InputNoteTable table;
    KeyswitchExtractor extractor { table };
    KeyswitchEvents events;

    std::vector<Event> extract (const std::vector<Event>& input)
    {
        auto midi = bufferOf (input);
        events.clear();
        extractor.extract (midi, events);
        return eventsOf (midi);
    }
};
} // namespace

TEST (Keyswitches, aReleaseIsTakenTheWayItsPressWasWhateverChangedMeanwhile)
{
    Keyswitches k;
    k.extractor.setRange (2);
    EXPECT_EQ (k.extract ({ on (26, 100, 3), on (36, 100, 4), on (23, 100, 5) }), (std::vector<Event> { on (36, 100, 4), on (23, 100, 5) }));
    ASSERT_EQ (k.events.size(), 1);
    EXPECT_EQ (k.events[0].slot, 2);
    EXPECT_EQ (k.events[0].sample, 3);

    // The top range has only eight keys.
    k.extractor.setRange (10);
    EXPECT_EQ (k.extractor.slotForNote (127), 7);
    EXPECT_EQ (k.extractor.slotForNote (119), -1);

    // 36 is an ordinary note at its press; the range then moves over it.
    k.extractor.setRange (3);
    EXPECT_EQ (k.extract ({ off (36, 5) }), (std::vector<Event> { off (36, 5) }));
    EXPECT_TRUE (k.events.isEmpty());

    // 38 is a keyswitch at its press; keyswitches are then switched off.
    k.extract ({ on (38, 100, 0) });
    k.extractor.setEnabled (false);
    EXPECT_TRUE (k.extractor.isKeyswitchEvent (*bufferOf ({ off (38, 7) }).begin()));
    EXPECT_TRUE (k.extract ({ off (38, 7) }).empty());
    ASSERT_EQ (k.events.size(), 1);
    EXPECT_EQ (k.events[0].slot, 2);
    EXPECT_FALSE (k.events[0].pressed);
    EXPECT_EQ (k.extract ({ on (38, 100, 0) }).size(), 1u) << "a press while switched off is a note";
}

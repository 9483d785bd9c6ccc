#include <source/processor/KeyswitchExtractor.h>
#include <tests/tarn/processor/MidiTestHelpers.h>

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

TEST (Keyswitches, thePhraseWhoseKeyWasPressedLastPlaysFromItsPress)
{
    KeyswitchEvents events;
    EXPECT_EQ (events.decide (4).newSlot, -1);

    events.add ({ 2, true, 10 });
    events.add ({ 2, false, 20 });
    events.add ({ 5, true, 30 });
    auto d = events.decide (4);
    EXPECT_EQ (std::tuple (d.newSlot, d.switchSample, d.startSample), std::tuple (5, 10, 30));
    EXPECT_EQ (d.stopSample, -1) << "slot 2's release does not close slot 5's gate";

    events.clear();
    events.add ({ 4, true, 10 });
    events.add ({ 4, false, 50 });
    d = events.decide (4);
    EXPECT_EQ (d.switchSample, -1) << "the playing phrase's own key does not switch";
    EXPECT_EQ (std::tuple (d.newSlot, d.startSample, d.stopSample), std::tuple (-1, 10, 50));
}

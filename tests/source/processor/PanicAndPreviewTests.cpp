#include <source/processor/ControllerPreview.h>
#include <source/processor/PanicMessages.h>
#include <tests/tarn/processor/MidiTestHelpers.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

TEST (Panic, endsEveryNoteOnEveryChannelAtSampleZero)
{
    juce::MidiBuffer out;
    PanicMessages::addTo (out, 0);
    const auto events = eventsOf (out);

    ASSERT_EQ ((int) events.size(), 2064);
    EXPECT_EQ (events[128], cc (123, 0, 0, 1));
    EXPECT_EQ (events[129], off (0, 0, 2));
    EXPECT_EQ (events.back(), cc (123, 0, 0, 16));

    for (const auto& e : events)
        EXPECT_TRUE (e.sample == 0 && (e.isNoteOff() || e.kind == 0xb0)) << e;
}

TEST (OutputNoteTracker, endsEveryStrikeOfEverySoundingNote)
{
    OutputNoteTracker tracker;
    tracker.record (bufferOf ({ on (60, 100, 0), on (60, 100, 1), on (64, 100, 2, 3), on (67, 100, 3), off (67, 4), off (70, 5) }));
    EXPECT_EQ (tracker.getNumSounding(), 3);

    juce::MidiBuffer out;
    tracker.endAll (out, 7);
    EXPECT_EQ (eventsOf (out), (std::vector<Event> { off (60, 7), off (60, 7), off (64, 7, 3) }));
    EXPECT_FALSE (tracker.isAnythingSounding());
}

TEST (ControllerPreview, packsAMessageAndRefusesNegativeControllers)
{
    const auto word = ControllerPreview::pack (15, 74, 100);
    EXPECT_EQ (word, (16u << 14) | (74u << 7) | 100u);

    const auto message = ControllerPreview::unpack (word);
    ASSERT_TRUE (message.has_value());
    EXPECT_EQ (message->channelIndex, 15);
    EXPECT_EQ (message->controller, 74);
    EXPECT_EQ (message->value, 100);

    // A pitch-bend lane's controller number -1 would go out as CC 127, "Poly Mode On".
    EXPECT_EQ (ControllerPreview::pack (0, -1, 64), 0u);
    EXPECT_EQ (ControllerPreview::pack (0, 128, 64), 0u);
    EXPECT_FALSE (ControllerPreview::unpack (0).has_value());
}

TEST (ControllerPreview, theBlockCarriesOnlyNoteOffsAndThePreviewMessage)
{
    OutputNoteTracker tracker;
    tracker.noteOn (0, 72);

    juce::MidiBuffer out;
    ControllerPreview::buildBlock (bufferOf ({ on (60, 100, 0), off (61, 4), cc (1, 2, 5) }), ControllerPreview::pack (2, 7, 99), tracker, out);

    EXPECT_EQ (eventsOf (out), (std::vector<Event> { off (72, 0), cc (7, 99, 0, 3), off (61, 4) }));
    EXPECT_FALSE (tracker.isAnythingSounding());
}

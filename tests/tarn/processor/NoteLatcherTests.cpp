#include "MidiTestHelpers.h"

#include <tarn/processor/NoteLatcher.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

TEST (NoteLatcher, aReleasedChordSoundsUntilNewInputAndEndsAtItsSampleOrWhenTheLatchGoes)
{
    tarn::NoteLatcher latcher;
    juce::AudioBuffer<float> noAudio;
    const auto run = [&] (const std::vector<Event>& input)
    {
        auto midi = bufferOf (input);
        latcher.processBlock (noAudio, midi);
        return eventsOf (midi);
    };

    latcher.setLatchActive (true);
    EXPECT_EQ (run ({ on (60, 100, 0), on (64, 100, 1), on (67, 100, 2) }).size(), 3u);
    EXPECT_TRUE (run ({ off (60, 10), off (64, 11), off (67, 12) }).empty());
    EXPECT_EQ (latcher.getNumLatchedNotes(), 3);

    // D after a full release: the latched chord ends at D's sample, before D starts; a note
    // added while D is down joins it.
    const auto d = run ({ on (62, 90, 40) });
    ASSERT_EQ (d.size(), 4u);

    for (size_t i = 0; i < 3; ++i)
        EXPECT_TRUE (d[i].isNoteOff() && d[i].sample == 40) << d[i];

    EXPECT_EQ (d[3], on (62, 90, 40));
    EXPECT_EQ (run ({ on (65, 100, 5) }), (std::vector<Event> { on (65, 100, 5) }));
    EXPECT_TRUE (run ({ off (65, 1) }).empty());

    // Switched off, the latched notes end at the next block with the real releases.
    latcher.setLatchActive (false);
    EXPECT_EQ (run ({ off (62, 3) }), (std::vector<Event> { off (65, 0), off (62, 3) }));
    EXPECT_EQ (latcher.getNumPressedKeys(), 0);
    latcher.setLatchActive (true);
    run ({ on (60, 100, 0), on (62, 100, 0) });
    run ({ off (60, 1) });
    latcher.reset();
    EXPECT_EQ (latcher.getNumPressedKeys(), 0);
    EXPECT_EQ (latcher.getNumLatchedNotes(), 0);
    EXPECT_EQ (run ({ on (65, 100, 2) }), (std::vector<Event> { on (65, 100, 2) }));
}

#include "MidiTestHelpers.h"

#include <tarn/processor/NoteLatcher.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
juce::AudioBuffer<float> noAudio;

std::vector<Event> run (tarn::NoteLatcher& latcher, const std::vector<Event>& input)
{
    auto midi = bufferOf (input);
    latcher.processBlock (noAudio, midi);
    return eventsOf (midi);
}
} // namespace

TEST (NoteLatcher, releasedChordKeepsSoundingUntilTheNextNewInput)
{
    tarn::NoteLatcher latcher;
    latcher.setLatchActive (true);

    EXPECT_EQ (run (latcher, { on (60, 100, 0), on (64, 100, 1), on (67, 100, 2) }).size(), 3u);
    EXPECT_TRUE (run (latcher, { off (60, 10), off (64, 11), off (67, 12) }).empty());
    EXPECT_EQ (latcher.getNumLatchedNotes(), 3);

    // D after a full release: the latched chord ends at D's sample, before D starts.
    const auto d = run (latcher, { on (62, 90, 40) });
    ASSERT_EQ (d.size(), 4u);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE (d[(size_t) i].isNoteOff() && d[(size_t) i].sample == 40) << d[(size_t) i];
    EXPECT_EQ (d[3], on (62, 90, 40));
}

TEST (NoteLatcher, aNoteAddedWhileAKeyIsDownJoinsTheChord)
{
    tarn::NoteLatcher latcher;
    latcher.setLatchActive (true);

    run (latcher, { on (60, 100, 0) });
    EXPECT_EQ (run (latcher, { on (64, 100, 5) }), (std::vector<Event> { on (64, 100, 5) }));
    EXPECT_TRUE (run (latcher, { off (60, 6), off (64, 7) }).empty());
}

TEST (NoteLatcher, switchingTheLatchOffReleasesLatchedNotesAtTheNextBlock)
{
    tarn::NoteLatcher latcher;
    latcher.setLatchActive (true);
    run (latcher, { on (48, 100, 0), on (60, 100, 0) });
    run (latcher, { off (48, 1) });

    latcher.setLatchActive (false);
    EXPECT_EQ (run (latcher, { off (60, 3) }), (std::vector<Event> { off (48, 0), off (60, 3) }));
    EXPECT_EQ (latcher.getNumPressedKeys(), 0);
}

TEST (NoteLatcher, resetForgetsLatchedAndPressedNotesSilently)
{
    tarn::NoteLatcher latcher;
    latcher.setLatchActive (true);
    run (latcher, { on (60, 100, 0), on (62, 100, 0) });
    run (latcher, { off (60, 1) });

    latcher.reset();
    EXPECT_EQ (latcher.getNumPressedKeys(), 0);
    EXPECT_EQ (latcher.getNumLatchedNotes(), 0);
    EXPECT_EQ (run (latcher, { on (65, 100, 2) }), (std::vector<Event> { on (65, 100, 2) }));
}

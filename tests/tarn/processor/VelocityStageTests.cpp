#include "MidiTestHelpers.h"

#include <tarn/processor/VelocityRandomiser.h>
#include <tarn/processor/VelocityScaler.h>
#include <tarn/util/RandomSource.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

// The bounds through the whole plug-in are checked by the pipeline tests; these are the edges.
TEST (VelocityRandomiser, staysWithinItsAmountNeverSilencesANoteOnAndLeavesEverythingElseAlone)
{
    const juce::int64 seed = 20261207;
    SCOPED_TRACE ("seed " + std::to_string (seed));
    tarn::RandomSource::threadGenerator().setSeed (seed);
    tarn::VelocityRandomiser randomiser;
    randomiser.prepareToPlay (48000.0, 512);
    juce::AudioBuffer<float> noAudio;
    randomiser.setAmount (10);
    int lowest = 128, highest = -1;

    for (int block = 0; block < 100; ++block)
    {
        juce::MidiBuffer midi;

        for (int i = 0; i < 100; ++i)
            add (midi, on (60, 5, i));

        randomiser.processBlock (noAudio, midi);

        for (const auto& e : eventsOf (midi))
        {
            ASSERT_TRUE (e.isNoteOn()) << e; // 5 - 10 would be a velocity 0 note-on: a note-off
            lowest = std::min (lowest, e.data2);
            highest = std::max (highest, e.data2);
        }
    }

    EXPECT_EQ (lowest, 1);
    EXPECT_EQ (highest, 15);
    randomiser.setAmount (127);
    auto others = bufferOf ({ on (60, 0, 3), cc (1, 64, 4), off (60, 5, 1, 64) });
    randomiser.processBlock (noAudio, others);
    const auto events = eventsOf (others);
    ASSERT_EQ (events.size(), 3u);
    EXPECT_EQ (events[0], on (60, 0, 3));
    EXPECT_EQ (events[1], cc (1, 64, 4));
    EXPECT_TRUE (events[2].isNoteOff());
    randomiser.setAmount (0);
    auto unchanged = bufferOf ({ on (60, 77, 0) });
    randomiser.processBlock (noAudio, unchanged);
    EXPECT_EQ (eventsOf (unchanged)[0], on (60, 77, 0));
}

TEST (VelocityScaler, invertedRangesScaleNoteOffsTooAndAScaledNoteOnNeverBecomesANoteOff)
{
    tarn::VelocityScaler scaler;
    juce::AudioBuffer<float> noAudio;
    scaler.prepareToPlay (48000.0, 512);
    scaler.setRange (100, 20);
    auto inverted = bufferOf ({ on (60, 127, 0), off (60, 1, 1, 0) });
    scaler.processBlock (noAudio, inverted);
    EXPECT_EQ (eventsOf (inverted), (std::vector<Event> { on (60, 20, 0), off (60, 1, 1, 100) }));
    scaler.setRange (0, 40);
    auto quiet = bufferOf ({ on (60, 1, 0), on (61, 0, 1) });
    scaler.processBlock (noAudio, quiet);
    EXPECT_EQ (eventsOf (quiet)[0], on (60, 1, 0));
    EXPECT_TRUE (eventsOf (quiet)[1].isNoteOff());
}

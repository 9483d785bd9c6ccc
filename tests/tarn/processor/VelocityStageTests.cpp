#include <tests/support/MidiEvents.h>

#include <tarn/processor/VelocityScaler.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

// The randomiser's bounds are checked through the pipeline; the scaler's edges here.
TEST (VelocityScaler, invertedRangesScaleNoteOffsTooAndAScaledNoteOnNeverBecomesANoteOff)
{
    tarn::VelocityScaler scaler;
    scaler.prepare (48000.0, 512);
    scaler.setRange (100, 20);
    auto inverted = bufferOf ({ on (60, 127, 0), off (60, 1, 1, 0) });
    scaler.process (inverted);
    EXPECT_EQ (eventsOf (inverted), (std::vector<Event> { on (60, 20, 0), off (60, 1, 1, 100) }));
    scaler.setRange (0, 40);
    auto quiet = bufferOf ({ on (60, 1, 0), on (61, 0, 1) });
    scaler.process (quiet);
    EXPECT_EQ (eventsOf (quiet)[0], on (60, 1, 0));
    EXPECT_TRUE (eventsOf (quiet)[1].isNoteOff());
}

#include <source/processor/Swing.h>
#include <tests/tarn/processor/MidiTestHelpers.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
// 120 bpm at 48 kHz: a quarter note is 24000 samples.
constexpr int beat = 24000;
const Swing::Position at120 { 0.0, 120.0 };
using Events = std::vector<Event>;

struct SwingUnderTest : Swing
{
    SwingUnderTest (double startAmount, int gridChoice = 0)
    {
        prepare (48000.0);
        setGridChoice (gridChoice);
        setAmount (startAmount);
    }

    Events run (const Events& input, int numSamples, std::optional<Swing::Position> position = at120)
    {
        auto midi = bufferOf (input);
        process (midi, numSamples, position);
        return eventsOf (midi);
    }
};
} // namespace

TEST (Swing, fullAmountMovesTheHalfBeatToThreeQuartersAndNoAmountMovesNothing)
{
    SwingUnderTest swing (0.0);
    EXPECT_EQ (swing.run ({ on (60, 100, beat / 2), off (60, beat / 2 + 100) }, beat), (Events { on (60, 100, beat / 2), off (60, beat / 2 + 100) }));

    swing.setAmount (1.0);
    EXPECT_EQ (Swing::swungTime (beat / 2, 0.0, beat, 1.0, 1.0), beat * 3 / 4);
    EXPECT_EQ (Swing::swungTime (0, 0.0, beat, 1.0, 1.0), 0);
    EXPECT_EQ (Swing::swungTime (beat / 2, 0.5, beat, 1.0, 1.0), beat / 2) << "the block starts on the off-beat";

    // The off-beat note lands in a later block when the block ends before it.
    EXPECT_TRUE (swing.run ({ on (60, 100, beat / 2) }, beat / 2 + 10).empty());
    EXPECT_EQ (swing.getNumPending(), 1);
    EXPECT_EQ (swing.run ({}, beat, Swing::Position { 0.5 + 10.0 / beat, 120.0 }), (Events { on (60, 100, beat / 4 - 10) }));
}

TEST (Swing, pendingNoteOffsComeOutWhenSwingStopsOrResetsAndResetDropsPendingNoteOns)
{
    SwingUnderTest swing (0.5);
    swing.run ({ on (60, 100, 0), off (60, beat / 2) }, beat / 2 + 1);
    ASSERT_EQ (swing.getNumPending(), 1);

    swing.setAmount (0.0);
    EXPECT_EQ (swing.run ({ cc (1, 2, 5) }, 512), (Events { off (60, 0), cc (1, 2, 5) }));

    swing.setAmount (0.5);
    swing.run ({ on (62, 100, 0), off (62, beat / 2) }, beat / 2 + 1);
    EXPECT_EQ (swing.run ({}, 512, std::nullopt), (Events { off (62, 0) })) << "the host stopped giving a position";

    swing.setAmount (1.0);
    swing.run ({ on (60, 100, 0), off (60, beat / 2), on (64, 100, beat / 2) }, beat / 2 + 1);
    ASSERT_EQ (swing.getNumPending(), 2);

    juce::MidiBuffer out;
    swing.reset (out, 0);
    EXPECT_EQ (eventsOf (out), (Events { off (60, 0) }));
    EXPECT_EQ (swing.getNumPending(), 0);
    EXPECT_TRUE (swing.run ({}, beat).empty());
}

TEST (Swing, aNoteOffNeverLandsBeforeItsSwungNoteOnOnTheShortGrids)
{
    SwingUnderTest swing (1.0, 2);

    // A 60-tick note at tick 420: its note-on is pushed past the note-off's cell boundary.
    const auto tick = [] (int t)
    { return t * beat / 960; };
    Events out;

    for (int block = 0; block < 4; ++block)
    {
        const auto input = block == 0 ? Events { on (60, 100, tick (420)), off (60, tick (480)) } : Events {};

        for (auto e : swing.run (input, beat, Swing::Position { block * 1.0, 120.0 }))
        {
            e.sample += block * beat;
            out.push_back (e);
        }
    }

    ASSERT_EQ (out.size(), 2u);
    EXPECT_TRUE (out[0].isNoteOn() && out[1].isNoteOff());
    EXPECT_GE (out[1].sample, out[0].sample);
    EXPECT_GT (out[0].sample, tick (480)) << "the note-on really was swung past the old note-off";
}

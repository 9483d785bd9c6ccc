#include <source/processor/Swing.h>
#include <tests/support/MidiEvents.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

TEST (Swing, aNoteOffNeverLandsBeforeItsSwungNoteOnOnTheShortGrids)
{
    constexpr int beat = 24000; // 120 bpm at 48 kHz
    Swing swing;
    swing.prepare (48000.0, 512);
    swing.setGridChoice (2);
    swing.setAmount (1.0);

    // A 60-tick note at tick 420: its note-on is pushed past the note-off's cell boundary.
    const auto tick = [] (int t)
    { return t * beat / 960; };
    std::vector<Event> out;

    for (int block = 0; block < 4; ++block)
    {
        auto midi = block == 0 ? bufferOf ({ on (60, 100, tick (420)), off (60, tick (480)) }) : juce::MidiBuffer();
        swing.setBlock (beat, Swing::Position { block * 1.0, 120.0 });
        swing.process (midi);

        for (auto e : eventsOf (midi))
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

#include "PlaybackTestSupport.h"

#include <tests/support/AllocationCounter.h>

#include <gtest/gtest.h>

#include <thread>

using namespace tarn;
using namespace cadenzium::test;

TEST (AudioPathAllocation, playingBlocksAllocatesNothingOnTheAudioThread)
{
    AdvancedSequenceManager manager; // real time: the worker renders every next pass
    manager.setCarryPitchOffset (true);
    manager.prepare (48000.0);

    for (int slot = 0; slot < 2; ++slot)
    {
        auto note = makeNote (60 + slot, 0, 200);
        note.velocityMin = 1;
        note.velocityMax = 127;
        note.octaveMax = 1;
        note.repeatStyle = SequenceNote::repeatCountTimes;
        note.repeatCount = 3;
        auto phrase = makeSequence ({ note, makeNote (64, 240, 240) }, 480); // half a beat: many loop ends
        ControllerLane lane;
        lane.points = { { 0, -8000, 0.5f, 0 }, { 450, 8000, 0.3f, ControllerPoint::sCurve } };
        phrase.lanes.push_back (lane);
        manager.setSequence (slot, phrase, nullptr);
    }

    auto& switchable = manager.getPlayer();
    juce::MidiBuffer buffer;
    buffer.ensureSize ((size_t) MidiMessageSequencePlayer::maxMessagesPerBlock * 16);
    auto position = BlockPosition::playing (0.0, 120.0);
    size_t allocations = 0;
    int passes = 0;

    for (int block = 0; block < 4000; ++block)
    {
        const SwitchableSequencePlayer::SelectingEvent press { block % 2, true, 17 };
        const bool keyswitchBlock = block % 500 == 250;
        const bool stopBlock = block % 700 == 600;

        if (block == 1000)
            switchable.setKeyswitchOptions (true, false, true);

        buffer.clear();

        {
            const ScopedAllocationCounter counter;

            if (block % 300 == 0)
                switchable.applyRequestedIndex ((block / 300) % 2);

            if (stopBlock)
                switchable.endHeldNotes (buffer, 0);

            passes += manager.playBlock (buffer, 128, position, keyswitchBlock ? &press : nullptr, keyswitchBlock ? 1 : 0).passesCompleted;
            allocations += block >= 10 ? counter.count() : 0; // the first blocks may warm up
        }

        position = position.advancedBy (128, 48000.0);

        // Give the worker its time, as a real audio callback's period would.
        for (int wait = 0; wait < 1000 && manager.hasRenderingsInFlight(); ++wait)
            std::this_thread::sleep_for (std::chrono::microseconds (200));
    }

    EXPECT_GT (passes, 20);
    EXPECT_EQ (allocations, 0u);
}

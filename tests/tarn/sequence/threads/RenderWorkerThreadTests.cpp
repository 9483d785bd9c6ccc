// The render worker: real-time blocks that take their next passes from it.

#include "../PlaybackTestSupport.h"

#include <tests/support/AllocationCounter.h>

#include <gtest/gtest.h>

#include <set>
#include <thread>

using namespace tarn;
using namespace cadenzium::test;

namespace
{
bool waitForWorker (const AdvancedSequenceManager& manager)
{
    for (int i = 0; i < 2000 && manager.hasRenderingsInFlight(); ++i)
        std::this_thread::sleep_for (std::chrono::milliseconds (1));

    return ! manager.hasRenderingsInFlight();
}

/** Eight notes with the widest velocity range: two passes that drew the same are as good as
    impossible. */
Sequence makeRandomisedPhrase()
{
    std::vector<SequenceNote> notes;

    for (int i = 0; i < 8; ++i)
        notes.push_back (makeNote (60 + i, i * 480, 240, 1, 127));

    return makeSequence (notes, 3840);
}

/** The velocities of each pass, in order. */
std::vector<std::vector<int>> velocitiesPerPass (const std::vector<PlayedMessage>& played, juce::int64 passSamples)
{
    std::vector<std::vector<int>> passes;

    for (const auto& p : played)
    {
        if (! p.message.isNoteOn())
            continue;

        const auto pass = (size_t) (p.sample / passSamples);
        passes.resize (std::max (passes.size(), pass + 1));
        passes[pass].push_back (p.message.getVelocity());
    }

    return passes;
}
} // namespace

TEST (AdvancedSequenceManager, everyPassIsAFreshDrawAlsoAfterARestoreThatLeftTheSecondPassToTheWorker)
{
    for (const bool offline : { true, false })
    {
        SCOPED_TRACE (offline ? "offline, blocks as fast as they come" : "real time, with the worker");
        AdvancedSequenceManager manager;
        manager.setNonRealtime (offline);
        manager.prepare (48000.0);

        {
            const AdvancedSequenceManager::ScopedNextPassesFromWorker restoring (manager);
            manager.setSequence (0, makeRandomisedPhrase(), nullptr);
            EXPECT_TRUE (manager.getPlayer().getPlayer (0).hasRendering());
            EXPECT_TRUE (! offline || manager.getPlayer().getPlayer (0).hasPendingRendering()) << "offline renders it at once";
        }

        ASSERT_TRUE (waitForWorker (manager));
        EXPECT_TRUE (manager.getPlayer().getPlayer (0).hasPendingRendering());
        BlockDriver<AdvancedSequenceManager> driver (manager, 48000.0, 120.0);

        for (int block = 0; block < 8 * 96000 / 4000; ++block)
        {
            driver.playOne (4000);
            ASSERT_TRUE (offline || waitForWorker (manager));
        }

        const auto passes = velocitiesPerPass (driver.played, 96000); // a bar at 120 bpm
        ASSERT_EQ (passes.size(), 8u);
        EXPECT_EQ (std::set<std::vector<int>> (passes.begin(), passes.end()).size(), passes.size());
    }
}

TEST (AudioPathAllocation, playingBlocksAllocatesNothingOnTheAudioThread)
{
    AdvancedSequenceManager manager; // real time: the worker renders every next pass
    manager.setCarryPitchOffset (true);
    manager.prepare (48000.0);

    for (int slot = 0; slot < 2; ++slot)
    {
        auto note = makeNote (60 + slot, 0, 200, 1, 127);
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

// The render worker: real-time blocks that take their next passes from it.

#include "../PlaybackTestSupport.h"

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

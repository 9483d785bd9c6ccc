// Phrases and their next passes handed to blocks played on another thread: run under
// ThreadSanitizer by `make tsan`.

#include "../PlaybackTestSupport.h"

#include <tests/support/TestSeed.h>

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

using namespace tarn;
using namespace cadenzium::test;

namespace
{
Sequence makeVariedPhrase (juce::Random& random) { return makeRandomSequence (random, { 0, 128, 8, 12 }); }

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

TEST (PhraseHandOver, phrasesReplacedWhileAnotherThreadPlaysNeverTearOrHangNotes)
{
    const auto seed = cadenzium::test::testSeed (0x7a4d0fe);
    SCOPED_TRACE ("seed " + std::to_string (seed));
    juce::Random random (seed);
    AdvancedSequenceManager manager; // real time, with its render worker
    manager.prepare (48000.0);

    for (int slot = 0; slot < AdvancedSequenceManager::numSlots; ++slot)
        manager.setSequence (slot, makeVariedPhrase (random), nullptr);

    std::atomic<bool> stop { false };
    NoteCounter counter { NoteCounter::Restrikes::endedByOneNoteOff };
    int blocksPlayed = 0;

    std::thread audio ([&]
                       {
                           juce::Random audioRandom (seed + 1);
                           juce::MidiBuffer buffer;
                           buffer.ensureSize ((size_t) MidiMessageSequencePlayer::maxMessagesPerBlock * 16);
                           auto position = BlockPosition::playing (0.0, 180.0);
                           auto& switchable = manager.getPlayer();

                           while (! stop.load())
                           {
                               buffer.clear();

                               if (audioRandom.nextInt (50) == 0)
                                   switchable.applyRequestedIndex (audioRandom.nextInt (AdvancedSequenceManager::numSlots));

                               const auto numSamples = 16 + audioRandom.nextInt (256);
                               manager.playBlock (buffer, numSamples, position);
                               counter.add (buffer);
                               position = position.advancedBy (numSamples, 48000.0);
                               ++blocksPlayed;
                           }

                           buffer.clear();
                           switchable.endHeldNotes (buffer, 0);
                           counter.add (buffer); });

    const auto until = juce::Time::getMillisecondCounter() + 1500;

    while (juce::Time::getMillisecondCounter() < until)
    {
        manager.setSequence (random.nextInt (AdvancedSequenceManager::numSlots), makeVariedPhrase (random), nullptr);
        manager.announceCurrentSlot();
        std::this_thread::sleep_for (std::chrono::milliseconds (random.nextInt (3)));
    }

    stop = true;
    audio.join();
    EXPECT_GT (blocksPlayed, 100);
    EXPECT_EQ (counter.strayNoteOffs(), 0);
    EXPECT_EQ (counter.sounding(), 0);
}

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

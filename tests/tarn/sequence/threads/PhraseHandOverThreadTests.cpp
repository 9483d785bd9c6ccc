#include "../PlaybackTestSupport.h"

#include <tests/support/TestSeed.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace tarn;
using namespace cadenzium::test;

namespace
{
Sequence makeVariedPhrase (juce::Random& random) { return makeRandomSequence (random, { 0, 128, 8, 12 }); }
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

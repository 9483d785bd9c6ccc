#include "PlaybackTestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>

using namespace tarn;
using namespace cadenzium::test;

namespace
{
struct ChangeRecorder : AdvancedSequenceManager::Listener
{
    void sequenceManagerChanged (int slot, void* source) override { changes.push_back ({ slot, source }); }
    std::vector<std::pair<int, void*>> changes;
};

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
    {
        auto note = makeNote (60 + i, i * 480, 240);
        note.velocityMin = 1;
        note.velocityMax = 127;
        notes.push_back (note);
    }

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

TEST (AdvancedSequenceManager, storesSlotsInOrderAndSkipsUnchangedPhrases)
{
    AdvancedSequenceManager manager;
    ChangeRecorder recorder;
    manager.addListener (&recorder);
    int source = 0;

    const auto phrase = makeSequence ({ makeNote (60, 0, 240) });
    manager.setSequence (1, phrase, &source); // nothing stored yet: slot 1 would be appended as slot 0
    manager.setSequence (-1, phrase, &source);
    EXPECT_EQ (manager.getNumSequences(), 0);

    manager.setSequence (0, Sequence(), &source);
    manager.setSequence (1, phrase, &source);
    manager.setSequence (1, phrase, &source); // unchanged: no rendering, no notification
    EXPECT_EQ (manager.getNumSequences(), 2);
    EXPECT_EQ (manager.getSequence (1).notes.size(), 1u);
    EXPECT_TRUE (manager.getSequence (0).notes.empty());
    ASSERT_EQ (recorder.changes.size(), 2u);
    EXPECT_EQ (recorder.changes[1], (std::pair<int, void*> { 1, &source }));
    EXPECT_TRUE (manager.getPlayer().getPlayer (1).hasRendering());
    EXPECT_TRUE (manager.getPlayer().getPlayer (1).hasPendingRendering());

    manager.setCarryPitchOffset (true);
    auto edited = phrase;
    edited.notes[0].velocityMax = 90;
    manager.setSequence (1, edited, nullptr);
    EXPECT_TRUE (manager.getSequence (1).carryPitchOffset);
    EXPECT_FALSE (edited.carryPitchOffset);

    manager.announceCurrentSlot();
    EXPECT_EQ (recorder.changes.back(), (std::pair<int, void*> { 0, nullptr }));
    manager.removeListener (&recorder);
}

TEST (AdvancedSequenceManager, everyPassIsAFreshDraw)
{
    constexpr double sampleRate = 48000.0;
    constexpr juce::int64 passSamples = 96000; // one bar at 120 bpm

    for (const bool offline : { true, false })
    {
        SCOPED_TRACE (offline ? "offline, blocks as fast as they come" : "real time, with the worker");
        AdvancedSequenceManager manager;
        manager.setNonRealtime (offline);
        manager.prepare (sampleRate);
        manager.setSequence (0, makeRandomisedPhrase(), nullptr);
        BlockDriver<AdvancedSequenceManager> driver (manager, sampleRate, 120.0);

        for (int block = 0; block < 8 * 96000 / 4000; ++block)
        {
            driver.playOne (4000);

            if (! offline)
            {
                ASSERT_TRUE (waitForWorker (manager));
            }
        }

        const auto passes = velocitiesPerPass (driver.played, passSamples);
        ASSERT_EQ (passes.size(), 8u);
        EXPECT_EQ (std::set<std::vector<int>> (passes.begin(), passes.end()).size(), passes.size());
    }
}

TEST (AdvancedSequenceManager, aPhraseLoadedWithARestoreGetsItsSecondPassFromTheWorkerOnlyInRealTime)
{
    constexpr double sampleRate = 48000.0;

    for (const bool offline : { true, false })
    {
        SCOPED_TRACE (offline ? "offline" : "real time");
        AdvancedSequenceManager manager;
        manager.setNonRealtime (offline);
        manager.prepare (sampleRate);

        {
            const AdvancedSequenceManager::ScopedNextPassesFromWorker restoring (manager);
            manager.setSequence (0, makeRandomisedPhrase(), nullptr);
            EXPECT_TRUE (manager.getPlayer().getPlayer (0).hasRendering());

            if (offline)
            {
                EXPECT_TRUE (manager.getPlayer().getPlayer (0).hasPendingRendering());
            }
        }

        ASSERT_TRUE (waitForWorker (manager));
        EXPECT_TRUE (manager.getPlayer().getPlayer (0).hasPendingRendering());

        BlockDriver<AdvancedSequenceManager> driver (manager, sampleRate, 120.0);

        for (int block = 0; block < 2 * 96000 / 4000; ++block)
        {
            driver.playOne (4000);
            ASSERT_TRUE (waitForWorker (manager));
        }

        const auto passes = velocitiesPerPass (driver.played, 96000);
        ASSERT_EQ (passes.size(), 2u);
        EXPECT_NE (passes[0], passes[1]);
    }
}

TEST (AdvancedSequenceManager, aReplacedPhraseEndsItsNotesAndIsNeverPlayedAgain)
{
    AdvancedSequenceManager manager;
    manager.setNonRealtime (true);
    manager.prepare (48000.0);
    auto phrase = makeSequence ({ makeNote (60, 0, 3000) });
    phrase.loopCount = 1;
    manager.setSequence (0, phrase, nullptr);

    BlockDriver<AdvancedSequenceManager> driver (manager, 48000.0, 120.0);
    driver.play (512, 300); // past the first pass: silent
    EXPECT_TRUE (driver.lastResult.silent);

    manager.setSequence (0, makeSequence ({ makeNote (72, 0, 3000) }), nullptr);
    driver.play (512, 10);
    EXPECT_FALSE (driver.lastResult.silent); // its pass count started again

    driver.played.clear();
    manager.setSequence (0, makeSequence ({ makeNote (64, 0, 3840) }), nullptr);
    driver.play (512, 400);

    for (const auto& p : driver.notesOnly())
    {
        if (p.message.isNoteOn())
        {
            EXPECT_EQ (p.message.getNoteNumber(), 64);
        }
    }

    EXPECT_EQ (driver.counter.strayNoteOffs, 0);
}

TEST (MidiMessageSequencePlayer, aPendingPassOfAnotherContentOrLengthIsDropped)
{
    MidiMessageSequencePlayer player;
    const auto phrase = makeSequence ({ makeNote (60, 0, 240) });
    player.loadFull (prepareRendering (phrase, 1, 5));

    player.loadPending (prepareRendering (phrase, 2, 4)); // rendered before the phrase was replaced
    EXPECT_FALSE (player.hasPendingRendering());
    player.loadPending (prepareRendering (makeSequence ({ makeNote (60, 0, 240) }, 1920), 2, 5));
    EXPECT_FALSE (player.hasPendingRendering());
    player.loadPending (prepareRendering (phrase, 2, 5));
    EXPECT_TRUE (player.hasPendingRendering());
}

TEST (SwitchableSequencePlayer, switchingEndsTheOldSlotsNotesWhereTheSwitchHappens)
{
    AdvancedSequenceManager manager;
    manager.setNonRealtime (true);
    manager.prepare (48000.0);

    for (int slot = 0; slot < 3; ++slot)
        manager.setSequence (slot, makeSequence ({ makeNote (60 + slot, 0, 3840), makeNote (70 + slot, 480, 960) }), nullptr);

    struct SwitchCounter : SwitchableSequencePlayer::Listener
    {
        void sequenceNumberChanged (SwitchableSequencePlayer&) override { ++switches; }
        int switches = 0;
    } switchCounter;

    auto& switchable = manager.getPlayer();
    switchable.addListener (&switchCounter);
    BlockDriver<AdvancedSequenceManager> driver (manager, 48000.0, 120.0);
    driver.play (512, 4);

    // By request: the old note ends at sample 0 of the next block.
    EXPECT_TRUE (switchable.applyRequestedIndex (1));
    driver.played.clear();
    driver.playOne (512);
    ASSERT_EQ (driver.played.size(), 1u);
    EXPECT_TRUE (driver.played[0].message.isNoteOff());
    EXPECT_EQ (driver.played[0].message.getNoteNumber(), 60);
    EXPECT_EQ (driver.played[0].sample, driver.samplesPlayed - 512);
    driver.play (512, 30); // slot 1 plays on the host's timeline: its note at tick 480 starts
    EXPECT_EQ (driver.counter.numSounding(), 1);

    // By keyswitch: the first press decides, at its sample; the phrase starts there.
    switchable.setKeyswitchOptions (true, false, false);
    const SwitchableSequencePlayer::SelectingEvent events[] = { { 2, true, 100 }, { 0, true, 200 } };
    driver.buffer.clear();
    driver.played.clear();
    manager.playBlock (driver.buffer, 512, driver.position, events, 2);
    driver.collect (512);
    EXPECT_EQ (switchable.getCurrentIndex(), 2);
    EXPECT_EQ (switchCounter.switches, 2);

    for (const auto& p : driver.played)
        EXPECT_EQ (p.sample - (driver.samplesPlayed - 512), 100);

    EXPECT_EQ (driver.counter.strayNoteOffs, 0);
    driver.buffer.clear();
    switchable.endHeldNotes (driver.buffer, 0);
    driver.collect (0);
    EXPECT_EQ (driver.counter.numSounding(), 0);
    switchable.removeListener (&switchCounter);
}

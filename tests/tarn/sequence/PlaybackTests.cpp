#include "PlaybackTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>

using namespace tarn;
using namespace cadenzium::test;

namespace
{
using Driver = BlockDriver<MidiMessageSequencePlayer>;

/** Notes that start on awkward ticks, one that ends exactly at the loop end, one in the last
    tick, and a controller ramp: enough to put messages inside, on and across block ends. */
Sequence makeBusySequence()
{
    auto s = makeSequence ({ makeNote (60, 0, 240), makeNote (61, 1000, 2840), makeNote (62, 333, 777), makeNote (63, 3839, 1) });
    s.lanes.push_back (controlChange (1, { { 0, 0, 0.5f, 0 }, { 960, 127, 0.5f, 0 } }));
    return s;
}

/** Keeps a pending pass loaded, as the manager does, so every loop end swaps. */
void keepPendingLoaded (MidiMessageSequencePlayer& player, const Sequence& s)
{
    if (! player.hasPendingRendering())
        player.loadPending (prepareRendering (s, 7));
}

void expectSameTimeline (const std::vector<PlayedMessage>& played, const std::vector<PlayedMessage>& expected, int tolerance)
{
    ASSERT_EQ (played.size(), expected.size());

    for (size_t i = 0; i < played.size(); ++i)
    {
        ASSERT_NEAR ((double) played[i].sample, (double) expected[i].sample, tolerance) << "message " << i;
        ASSERT_EQ (played[i].message.getDescription(), expected[i].message.getDescription()) << "message " << i;
    }
}

std::vector<PlayedMessage> upTo (std::vector<PlayedMessage> messages, juce::int64 end)
{
    std::erase_if (messages, [end] (const PlayedMessage& p) { return p.sample > end; });
    return messages;
}

constexpr juce::int64 passSamples = 3840 * 32; // at 61440 Hz and 120 bpm

/** Four passes of the busy phrase (and what falls on their end), played in blocks of
    `blockSize` with a swap at every loop end; then the transport stops and nothing may be
    left sounding. */
std::vector<PlayedMessage> playFourPasses (double sampleRate, double bpm, int blockSize, int mode = MidiMessageSequencePlayer::roundUp)
{
    PlayerDriver playback (makeBusySequence(), 7, sampleRate, bpm);
    auto& [player, driver] = playback;
    player.setRoundingMode (mode);
    const auto end = (juce::int64) std::ceil (4 * 3840 * 60.0 * sampleRate / (960.0 * bpm));

    while (driver.samplesPlayed <= end)
    {
        keepPendingLoaded (player, makeBusySequence());
        driver.playOne (blockSize);
    }

    driver.position.isPlaying = false;
    driver.playOne (blockSize);
    EXPECT_EQ (driver.counter.strayNoteOffs(), 0);
    EXPECT_EQ (driver.counter.sounding(), 0);
    return upTo (driver.played, end);
}

struct ChangeRecorder : AdvancedSequenceManager::Listener
{
    void sequenceManagerChanged (int slot, void* source) override { changes.push_back ({ slot, source }); }
    std::vector<std::pair<int, void*>> changes;
};

/** A one-beat phrase with a sixteenth on the beat and one on the off-beat. */
Sequence makeSixteenths()
{
    return makeSequence ({ makeNote (50, 0, 240), makeNote (79, 480, 240) }, 960);
}

struct Sounding
{
    int pitch = 0;
    juce::int64 start = 0, length = 0;
};

/** Every note that was started and ended, with its length in samples. */
std::vector<Sounding> soundingNotesOf (const Driver& driver)
{
    std::vector<Sounding> notes;
    std::map<int, juce::int64> starts;

    for (const auto& p : driver.notesOnly())
    {
        if (p.message.isNoteOn())
            starts[p.message.getNoteNumber()] = p.sample;
        else if (const auto found = starts.find (p.message.getNoteNumber()); found != starts.end())
        {
            notes.push_back ({ found->first, found->second, p.sample - found->second });
            starts.erase (found);
        }
    }

    return notes;
}

/** Plays `blocks` blocks of `blockSize` while the host reports each block's start as
    `reported` makes it from the exact one (in quarter notes); the tempo may change on the
    way, and the host's timeline follows it. Returns whether any block after the first was
    taken for a jump. */
bool playReporting (Driver& driver, int blockSize, int blocks, const std::function<double (double exactPpq)>& reported,
                    const std::function<double (int block)>& tempo = {})
{
    auto exactPpq = driver.position.ppqPosition;
    auto jumped = false;

    for (int block = 0; block < blocks; ++block)
    {
        if (! driver.playable.hasPendingRendering())
            driver.playable.loadPending (prepareRendering (makeSixteenths(), 3));

        driver.position.bpm = tempo ? tempo (block) : driver.position.bpm;
        driver.position.ppqPosition = reported (exactPpq);
        driver.playOne (blockSize);
        jumped = jumped || (block > 0 && driver.lastResult.restarted);
        exactPpq += blockSize * driver.position.bpm / (60.0 * driver.sampleRate);
    }

    return jumped;
}
} // namespace

TEST (MidiMessageSequencePlayer, playbackIsTheSameWhateverTheBlockSize)
{
    // 61440 Hz at 120 bpm puts every tick on a whole sample (32): exact. 44100 Hz at 97 bpm
    // puts them between samples, so rounding decides and carried messages appear. One-sample
    // blocks never carry: what every other block size is held to.
    for (const auto& [sampleRate, bpm, tolerance] : { std::tuple { 61440.0, 120.0, 0 }, std::tuple { 44100.0, 97.0, 1 } })
    {
        std::vector<PlayedMessage> byMode[3];

        for (int mode : { MidiMessageSequencePlayer::roundToNearest, MidiMessageSequencePlayer::roundUp, MidiMessageSequencePlayer::roundDown })
        {
            byMode[mode] = playFourPasses (sampleRate, bpm, 1, mode);

            for (int blockSize : { 7, 64, 512, 4096 })
            {
                SCOPED_TRACE ("block size " + std::to_string (blockSize) + " at " + std::to_string (sampleRate) + ", rounding " + std::to_string (mode));
                expectSameTimeline (playFourPasses (sampleRate, bpm, blockSize, mode), byMode[mode], tolerance);
            }
        }

        // The modes agree on every message and differ by at most the sample that rounding decides.
        for (int mode : { MidiMessageSequencePlayer::roundToNearest, MidiMessageSequencePlayer::roundUp })
            expectSameTimeline (byMode[mode], byMode[MidiMessageSequencePlayer::roundDown], tolerance);

        for (size_t i = 0; i < byMode[0].size(); ++i)
            ASSERT_TRUE (byMode[MidiMessageSequencePlayer::roundDown][i].sample <= byMode[MidiMessageSequencePlayer::roundToNearest][i].sample
                         && byMode[MidiMessageSequencePlayer::roundToNearest][i].sample <= byMode[MidiMessageSequencePlayer::roundUp][i].sample)
                << "message " << i;
    }

    // On whole samples every pass puts the note at tick 1000 at sample 32000 of its pass.
    std::vector<juce::int64> starts;

    for (const auto& p : playFourPasses (61440.0, 120.0, 1))
        if (p.message.isNoteOn() && p.message.getNoteNumber() == 61)
            starts.push_back (p.sample);

    EXPECT_EQ (starts, (std::vector<juce::int64> { 32000, 32000 + passSamples, 32000 + 2 * passSamples, 32000 + 3 * passSamples }));
}

TEST (MidiMessageSequencePlayer, hostLoopsJumpsAndRestartsNeitherRepeatNorLoseMessages)
{
    constexpr double sampleRate = 61440.0, bpm = 120.0;
    const auto straight = playFourPasses (sampleRate, bpm, 1);

    // A host loop of exactly two passes, split at the loop end as hosts do, sounds like
    // playing straight on.
    {
        PlayerDriver playback (makeBusySequence(), 7, sampleRate, bpm);
        auto& driver = playback.driver;
        driver.position.isLooping = driver.position.hasLoopPoints = true;
        driver.position.loopEndPpq = 8.0;

        while (driver.samplesPlayed <= 4 * passSamples)
        {
            const auto toLoopEnd = (int) std::llround ((8.0 - driver.position.ppqPosition) * 960.0 * 32.0);
            driver.playOne (std::min (1000, toLoopEnd));

            if (driver.position.ppqPosition >= 8.0 - 1.0e-9)
                driver.position.ppqPosition = 0.0;
        }

        expectSameTimeline (upTo (driver.played, 4 * passSamples), straight, 0);
    }

    // A loop of a pass and a half, a jump, a stop and a restart: every note still ends once,
    // no key is struck twice without ending, and a restart on a pass start plays the whole pass.
    {
        PlayerDriver playback (makeBusySequence(), 7, sampleRate, bpm);
        auto& driver = playback.driver;
        driver.position.isLooping = driver.position.hasLoopPoints = true;
        driver.position.loopEndPpq = 6.0;

        for (int block = 0; block < 400; ++block)
        {
            driver.playOne (997);

            if (driver.position.ppqPosition >= 6.0)
                driver.position.ppqPosition -= 6.0;

            ASSERT_EQ (driver.counter.strayNoteOffs(), 0);
        }

        driver.position.isLooping = false;
        driver.position.ppqPosition += 5.3; // the user clicks further on
        driver.play (997, 50);
        driver.position.isPlaying = false;
        driver.playOne (997);
        EXPECT_EQ (driver.counter.sounding(), 0);
        EXPECT_EQ (driver.counter.strayNoteOffs(), 0);
        driver.position = BlockPosition::playing (8.0, bpm);
        const auto restartSample = driver.samplesPlayed;
        driver.play (512, 240); // exactly one pass
        driver.playOne (1);
        std::vector<PlayedMessage> pass;

        for (const auto& p : driver.played)
            if (p.sample >= restartSample)
                pass.push_back ({ p.sample - restartSample, p.message });

        expectSameTimeline (upTo (pass, passSamples - 1), upTo (straight, passSamples - 1), 0);
    }
}

TEST (MidiMessageSequencePlayer, loopCountPassesThenSilenceUntilTheTransportRestarts)
{
    // 120 bpm at 48 kHz: a bar is 96000 samples, so 500-sample blocks end exactly on it.
    // (loop count, where the transport starts, the notes struck, why)
    const std::tuple<int, double, std::vector<int>, const char*> cases[] = {
        { 2, 0.0, { 60, 61, 60, 61 }, "the second note ends exactly on the loop end" },
        { 1, 2.0, { 61 }, "a pass joined part-way counts as the one pass" },
    };

    for (const auto& [loopCount, startPpq, expectedNoteOns, why] : cases)
    {
        SCOPED_TRACE (why);
        auto s = makeSequence ({ makeNote (60, 0, 240), makeNote (61, 1920, 1920) });
        s.loopCount = loopCount;
        PlayerDriver playback (s, 1, 48000.0, 120.0, startPpq);
        auto& [player, driver] = playback;

        for (int block = 0; block < 4 * 192; ++block)
        {
            keepPendingLoaded (player, s);
            driver.playOne (500);
        }

        std::vector<int> noteOns;

        for (const auto& p : driver.notesOnly())
            if (p.message.isNoteOn())
                noteOns.push_back (p.message.getNoteNumber());

        EXPECT_EQ (noteOns, expectedNoteOns);
        EXPECT_EQ (player.getLoopsPlayed(), loopCount);
        EXPECT_TRUE (driver.lastResult.silent);
        EXPECT_EQ (driver.counter.sounding(), 0); // the last note-off, due exactly at the end, still came

        driver.position.isPlaying = false;
        driver.playOne (500);
        driver.position = BlockPosition::playing (0.0, 120.0);
        driver.played.clear();
        driver.playOne (500);
        EXPECT_EQ (driver.notesOnly().size(), 1u);
        EXPECT_FALSE (driver.lastResult.silent);
    }
}

TEST (MidiMessageSequencePlayer, everyNoteItStartsIsEndedWhateverHappens)
{
    const auto s = makeSequence ({ makeNote (60, 0, 3840), makeNote (62, 480, 960) });
    using Action = std::function<void (MidiMessageSequencePlayer&, Driver&)>;
    const std::pair<const char*, Action> cases[] = {
        { "transport stop", [] (auto&, Driver& d)
          {
              d.position.isPlaying = false;
              d.playOne (512);
          } },
        { "the explicit stop, then playing on", [] (MidiMessageSequencePlayer& p, Driver& d)
          {
              d.buffer.clear();
              p.endHeldNotes (d.buffer, 100);
              d.collect (0);
              EXPECT_EQ (d.counter.sounding(), 0);
              d.play (512, 400);
              d.position.isPlaying = false;
              d.playOne (512);
          } },
        { "a new phrase", [] (MidiMessageSequencePlayer& p, Driver& d)
          {
              p.loadFull (prepareRendering (makeSequence ({ makeNote (70, 3000, 10) }), 3, 2));
              d.playOne (512);
          } },
        { "no tempo", [] (auto&, Driver& d)
          {
              d.position.bpm = 0.0;
              d.playOne (512);
              EXPECT_EQ (d.buffer.getNumEvents(), 2);
          } },
        { "hold switched on while notes sound, then a release", [] (MidiMessageSequencePlayer& p, Driver& d)
          {
              p.setKeyswitchOptions (true, true, false); // gate closed: no new notes, note-offs still pass
              d.play (512, 300);
          } },
    };

    for (const auto& [name, action] : cases)
    {
        SCOPED_TRACE (name);
        PlayerDriver playback (s, 3);
        auto& [player, driver] = playback;
        driver.play (512, 60);
        EXPECT_EQ (driver.counter.sounding(), 2);
        action (player, driver);
        EXPECT_EQ (driver.counter.sounding(), 0);
        EXPECT_EQ (driver.counter.strayNoteOffs(), 0);
    }
}

TEST (MidiMessageSequencePlayer, preRollPlaysTheEndOfThePhrase)
{
    PlayerDriver playback (makeSequence ({ makeNote (60, 2880, 480) }), 1, 48000.0, 120.0, -1.0);
    auto& driver = playback.driver;
    driver.playOne (256);
    ASSERT_EQ (driver.notesOnly().size(), 1u);
    EXPECT_EQ (driver.notesOnly().front().sample, 0);
}

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
    EXPECT_EQ (std::tuple (manager.getNumSequences(), manager.getSequence (0).notes.size(), manager.getSequence (1).notes.size()), std::tuple (2, (size_t) 0, (size_t) 1));
    ASSERT_EQ (recorder.changes.size(), 2u);
    EXPECT_EQ (recorder.changes[1], (std::pair<int, void*> { 1, &source }));
    EXPECT_TRUE (manager.getPlayer().getPlayer (1).hasRendering() && manager.getPlayer().getPlayer (1).hasPendingRendering());
    manager.setCarryPitchOffset (true);
    auto edited = phrase;
    edited.notes[0].velocityMax = 90;
    manager.setSequence (1, edited, nullptr);
    EXPECT_TRUE (manager.getSequence (1).carryPitchOffset);
    manager.announceCurrentSlot();
    EXPECT_EQ (recorder.changes.back(), (std::pair<int, void*> { 0, nullptr }));
    manager.removeListener (&recorder);
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

    // Replaced again before a block took either: the block drops that pass, asks for a pass
    // of the phrase it now plays, and leaves the old renderings to be freed elsewhere.
    player.loadFull (prepareRendering (phrase, 3, 6));
    juce::MidiBuffer output;
    const auto result = player.playBlock (output, 64, BlockPosition::playing (0.0, 120.0));
    EXPECT_TRUE (result.needsNextPass && result.retiredRenderings);
    EXPECT_FALSE (player.hasPendingRendering());
    EXPECT_TRUE (player.loadPending (prepareRendering (phrase, 4, 6)));
}

TEST (HostTimeline, aHostThatReportsBlockStartsOnACoarserGridNeitherCutsNotesShortNorRestartsThePhraseButAJumpDoes)
{
    // Ardour counts its timeline in beats of 1920 ticks and reports each block's start rounded
    // to one of them: a block starts up to half of our tick away from where the last one ended.
    // At 48 kHz and 120 bpm a sixteenth is exactly 6000 samples.
    for (const auto& [name, grid] : { std::pair<const char*, double (*) (double)> { "rounded", [] (double ppq) { return std::round (ppq * 1920.0) / 1920.0; } },
                                      std::pair<const char*, double (*) (double)> { "truncated", [] (double ppq) { return std::floor (ppq * 1920.0) / 1920.0; } } })
    {
        for (int blockSize : { 1024, 256, 333 })
        {
            SCOPED_TRACE (std::string (name) + ", blocks of " + std::to_string (blockSize));
            PlayerDriver playback (makeSixteenths(), 3);
            auto& [player, driver] = playback;
            EXPECT_FALSE (playReporting (driver, blockSize, 120000 / blockSize + 1, grid));

            const auto notes = soundingNotesOf (driver);
            ASSERT_GE (notes.size(), 9u); // five beats, two notes each
            for (const auto& note : notes)
                EXPECT_NEAR ((double) note.length, 6000.0, 1.0) << "note " << note.pitch << " at " << note.start;

            EXPECT_EQ (player.getLoopsPlayed(), 5);

            // A real jump of a few ticks is still one: a tick is 25 samples here, and the
            // user moves the play head 8 ticks on.
            driver.position.ppqPosition += 8.0 / 960.0;
            driver.playOne (blockSize);
            EXPECT_TRUE (driver.lastResult.restarted);
        }
    }
}

TEST (HostTimeline, aTempoThatChangesWithinBlocksKeepsThePhraseOnTheHostsTimelineWithoutRestarts)
{
    // The host ramps from 120 to 180 bpm and reports the tempo at each block's start only:
    // the phrase drifts from the host by a fraction of a tick in every block, and is pulled
    // back to it instead of drifting on until a block looks like a jump.
    PlayerDriver playback (makeSixteenths(), 3);
    auto& [player, driver] = playback;

    constexpr int blockSize = 512;
    const auto tempoAt = [] (double block)
    { return 120.0 + std::min (60.0, block * 0.7); };

    double hostPpq = 0.0;
    int blocksReported = 0;
    const auto hostPosition = [&] (double)
    {
        // The block before this one, sample by sample.
        if (blocksReported > 0)
            for (int s = 0; s < blockSize; ++s)
                hostPpq += tempoAt (blocksReported - 1 + (double) s / blockSize) / (60.0 * 48000.0);

        ++blocksReported;
        return hostPpq;
    };

    EXPECT_FALSE (playReporting (driver, blockSize, 600, hostPosition, [&] (int block)
                                 { return tempoAt (block); }));
    EXPECT_EQ (driver.counter.strayNoteOffs(), 0);

    // Where the host's timeline is after the last block, against where the player says the
    // phrase is: within a tick (the ramp moved the host 70 ticks from the block tempi).
    const auto hostTick = std::fmod (hostPosition (0.0) * 960.0, 960.0);
    const auto distance = std::abs (player.getPlayheadTick() - hostTick);
    EXPECT_LT (std::min (distance, 960.0 - distance), 1.0);
}

#include "PlaybackTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

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

void loadBusy (MidiMessageSequencePlayer& player, double sampleRate)
{
    player.prepare (sampleRate);
    player.loadFull (prepareRendering (makeBusySequence(), 7));
}

constexpr juce::int64 passSamples = 3840 * 32; // at 61440 Hz and 120 bpm

/** Four passes of the busy phrase (and what falls on their end), played in blocks of
    `blockSize` with a swap at every loop end; then the transport stops and nothing may be
    left sounding. */
std::vector<PlayedMessage> playFourPasses (double sampleRate, double bpm, int blockSize, int mode = MidiMessageSequencePlayer::roundUp)
{
    MidiMessageSequencePlayer player;
    loadBusy (player, sampleRate);
    player.setRoundingMode (mode);
    Driver driver (player, sampleRate, bpm);
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
        MidiMessageSequencePlayer player;
        loadBusy (player, sampleRate);
        Driver driver (player, sampleRate, bpm);
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
        MidiMessageSequencePlayer player;
        loadBusy (player, sampleRate);
        Driver driver (player, sampleRate, bpm);
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
        MidiMessageSequencePlayer player;
        player.prepare (48000.0);
        player.loadFull (prepareRendering (s, 1));
        Driver driver (player, 48000.0, 120.0, startPpq);

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
        MidiMessageSequencePlayer player;
        player.prepare (48000.0);
        player.loadFull (prepareRendering (s, 3));
        Driver driver (player, 48000.0, 120.0);
        driver.play (512, 60);
        EXPECT_EQ (driver.counter.sounding(), 2);
        action (player, driver);
        EXPECT_EQ (driver.counter.sounding(), 0);
        EXPECT_EQ (driver.counter.strayNoteOffs(), 0);
    }

}

TEST (MidiMessageSequencePlayer, preRollPlaysTheEndOfThePhrase)
{
    MidiMessageSequencePlayer player;
    player.prepare (48000.0);
    player.loadFull (prepareRendering (makeSequence ({ makeNote (60, 2880, 480) }), 1));
    Driver driver (player, 48000.0, 120.0, -1.0);
    driver.playOne (256);
    ASSERT_EQ (driver.notesOnly().size(), 1u);
    EXPECT_EQ (driver.notesOnly().front().sample, 0);
}

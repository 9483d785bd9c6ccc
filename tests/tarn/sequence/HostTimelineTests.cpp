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
            MidiMessageSequencePlayer player;
            player.prepare (48000.0);
            player.loadFull (prepareRendering (makeSixteenths(), 3));
            Driver driver (player, 48000.0, 120.0, 0.0);

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
    MidiMessageSequencePlayer player;
    player.prepare (48000.0);
    player.loadFull (prepareRendering (makeSixteenths(), 3));
    Driver driver (player, 48000.0, 120.0, 0.0);

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

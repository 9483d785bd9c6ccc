// Until the block pipeline drives the phrases from processBlock, these play the processor's
// own phrase manager block by block, as the pipeline will.

#include "StateTestSupport.h"

#include <tests/tarn/sequence/PlaybackTestSupport.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 512;

void setFirstPhrase (Cadenzium2AudioProcessor& processor, int row, int timestamp, int length)
{
    auto phrase = processor.getPhrase (0);
    phrase.notes = { cadenzium::test::noteOnRow (row, timestamp, length) };
    phrase.normalise();
    processor.getCommands().editPhrase (0, phrase);
}
} // namespace

TEST (StateRestoreNotes, aStateSavedWhileNotesSoundLeavesNoNoteHangingWhenRestored)
{
    // Plays on to a time on the timeline; one bar lasts two seconds at 120 bpm.
    const auto playUntil = [] (BlockDriver<PhraseManager>& d, double seconds)
    {
        while ((double) d.samplesPlayed < seconds * sampleRate)
            d.playOne (blockSize);
    };

    Cadenzium2AudioProcessor processor;
    processor.prepareToPlay (sampleRate, blockSize);
    setFirstPhrase (processor, 0, 0, 2400);

    BlockDriver<PhraseManager> driver (processor.getPhraseManager(), sampleRate, 120.0);
    playUntil (driver, 0.1);
    ASSERT_EQ (driver.counter.numSounding(), 1);

    // Saved mid-note; then the song moves on to a phrase whose own note sounds.
    const auto savedMidNote = stateOf (processor);
    setFirstPhrase (processor, 3, 480, 2400);
    playUntil (driver, 0.5);
    ASSERT_EQ (driver.counter.numSounding(), 1);

    // Restoring ends what sounds at the next block; the restored phrase then plays and
    // ends its own note within the bar.
    restore (processor, savedMidNote);
    playUntil (driver, 1.95);
    EXPECT_EQ (driver.counter.numSounding(), 0);
    EXPECT_EQ (driver.counter.strayNoteOffs, 0);

    // A restore into a fresh instance while its own phrase sounds.
    Cadenzium2AudioProcessor fresh;
    fresh.prepareToPlay (sampleRate, blockSize);
    setFirstPhrase (fresh, 1, 0, 3800);
    BlockDriver<PhraseManager> freshDriver (fresh.getPhraseManager(), sampleRate, 120.0);
    playUntil (freshDriver, 0.05);
    ASSERT_EQ (freshDriver.counter.numSounding(), 1);

    restore (fresh, savedMidNote);
    playUntil (freshDriver, 1.9);
    EXPECT_EQ (freshDriver.counter.numSounding(), 0);
    EXPECT_EQ (freshDriver.counter.strayNoteOffs, 0);
}

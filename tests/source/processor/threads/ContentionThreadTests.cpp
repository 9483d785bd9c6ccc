// The audio thread playing small blocks while a host thread saves and restores and the
// message thread edits, picks phrases and loads presets: run under ThreadSanitizer by
// `make tsan`. No timings here; bench/processor/ContentionBench.cpp measures them.

#include <tests/source/processor/ContentionLoad.h>
#include <tests/source/processor/PluginHarness.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

TEST (Contention, blocksPlayOnWithoutLocksWhileEveryOtherThreadWorksAndNoNoteIsLeftSounding)
{
    PluginHarness host (64);
    host.processor.setNonRealtime (false);
    host.setRows ({ makeRow (CadenziumModifier::all), makeRow (CadenziumModifier::pitch, 1), makeRow (CadenziumModifier::random) });

    for (int slot = 0; slot < Cadenzium2AudioProcessor::numPhrases; ++slot)
        host.setPhrase (slot, makePhrase ({ { 0, 0, 200 }, { 1, 240, 100 }, { 2, 480, 300 } }, 960));

    ContentionLoad load (host.processor);
    std::atomic<bool> playing { true };
    std::atomic<int> blocks { 0 };

    std::thread audio ([&]
                       {
                           host.block ({ on (60, 100, 0), on (64, 90, 3), on (67, 80, 5) });

                           while (playing.load())
                           {
                               host.block();
                               ++blocks;
                           }

                           // The transport stops: whatever sounds must end.
                           host.playHead.playing = false;
                           host.block(); });

    load.startHostThread();

    while (blocks.load() < 3000 || load.restores.load() < 20)
        load.messageThreadTurn();

    load.stopHostThread();
    playing = false;
    audio.join();

    EXPECT_EQ (host.counter.sounding(), 0) << host.counter.describeSounding();

    if (ScopedLockCounter::isAvailable())
    {
        EXPECT_EQ (host.processBlockLocks, 0u);
    }
}

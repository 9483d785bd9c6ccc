#include <tests/source/processor/ContentionLoad.h>
#include <tests/source/processor/PluginHarness.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace cadenzium::test;
namespace ids = ParameterIds;

// The block never waits for another thread: not even an uncontended lock is taken, so a
// loader preempted at the wrong moment can never stall the audio thread. Nor does it allocate.
TEST (PipelineRealtime, noBlockAllocatesOrTakesALockAtLoopEndsSwitchesEditsOrAnyOtherStep)
{
    PluginHarness host (64);
    host.processor.setNonRealtime (false); // next passes come from the render worker, as in a host

    for (const auto& [id, value] : { std::pair { ids::keyswitchEnable, 1.0f }, { ids::lockToKey, 1.0f }, { ids::randomVelocity, 10.0f }, { ids::swingAmount, 60.0f }, { ids::notePassthrough, 1.0f }, { ids::inputCcPassthrough, 1.0f }, { ids::inputRetrigger, 1.0f }, { ids::inputLatch, 1.0f }, { ids::velocityScaleLow, 30.0f }, { ids::velocityScaleHigh, 100.0f }, { ids::noteOutputRangeLow, 36.0f }, { ids::noteOutputRangeHigh, 96.0f } })
        host.set (id, value);

    host.setRows ({ makeRow (CadenziumModifier::all), makeRow (CadenziumModifier::random), makeRow (CadenziumModifier::fixed, 50, 2), makeRow (CadenziumModifier::pitch, 1) });

    // A tenth of a beat: loop ends come often.
    for (int slot = 0; slot < 3; ++slot)
        host.setPhrase (slot, makePhrase ({ { 0, 0, 40 }, { 1, 30, 50 }, { 2, 60, 30, 90, 3 }, { 3, 60, 20 } }, 96));

    const auto everyKindOfBlock = [&host]
    {
        const auto allocationsBefore = host.processBlockAllocations;
        const auto locksBefore = host.processBlockLocks;
        host.block ({ on (60, 100, 0), on (64, 90, 10), on (67, 80, 20), cc (1, 30, 40) });
        host.blocks (60);
        host.block ({ on (25, 100, 7), off (25, 30) }); // a keyswitch
        host.blocks (20);
        host.processor.requestPhrase (2);
        host.blocks (20);
        host.setPhrase (2, makePhrase ({ { 0, 0, 20 }, { 2, 40, 20 } }, 120)); // an edit of the playing phrase
        host.setRows ({ makeRow (CadenziumModifier::all), makeRow (CadenziumModifier::fixed, 50) });
        host.blocks (20);
        host.playHead.ppq += 3.0;
        host.blocks (2);
        host.processor.setKeySignature (KeySignature (3, Scales::all()[2]));
        host.blocks (2);
        host.playHead.playing = false;
        host.blocks (2);
        host.playHead.playing = true;
        host.set (ids::enable, 0.0f);
        host.block ({ off (64, 3) });
        host.set (ids::enable, 1.0f);
        host.processor.requestPanic();
        host.block ({ on (64, 90, 10) });
        host.processor.sendControllerPreview (3, 7, 100);
        host.blocks (2);
        host.processor.getInputKeyboardState().noteOn (1, 72, 0.5f);
        host.blocks (2);
        host.processor.getInputKeyboardState().noteOff (1, 72, 0.0f);
        host.block ({ off (60, 5) });
        host.block ({ off (64, 1), off (67, 2) });
        return std::pair (host.processBlockAllocations - allocationsBefore, host.processBlockLocks - locksBefore);
    };

    // The first round may warm up and meet a render worker that has not started yet; the
    // second counts.
    everyKindOfBlock();
    const auto [allocations, locks] = everyKindOfBlock();
    EXPECT_EQ (allocations, 0u);

    // Under ThreadSanitizer locks are not counted; the blocks still run against the worker.
    if (ScopedLockCounter::isAvailable())
    {
        EXPECT_EQ (locks, 0u);
    }
}

// The audio thread playing small blocks while a host thread saves and restores and the
// message thread edits, picks phrases and loads presets. No timings here;
// bench/processor/ContentionBench.cpp measures them.
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

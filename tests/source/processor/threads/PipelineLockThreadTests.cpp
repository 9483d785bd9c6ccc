#include <tests/source/processor/PluginHarness.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;
namespace ids = ParameterIds;

// The block never waits for another thread: not even an uncontended lock is taken, so a
// loader preempted at the wrong moment can never stall the audio thread.
TEST (PipelineLocks, noBlockTakesALockAtLoopEndsSwitchesEditsOrAnyOtherStep)
{
    PluginHarness host (64);
    host.processor.setNonRealtime (false); // next passes come from the render worker, as in a host
    host.set (ids::keyswitchEnable, 1.0f);
    host.set (ids::inputLatch, 1.0f);
    host.set (ids::inputRetrigger, 1.0f);
    host.set (ids::lockToKey, 1.0f);
    host.setRows ({ makeRow (CadenziumModifier::all), makeRow (CadenziumModifier::random), makeRow (CadenziumModifier::pitch, 1) });

    // A tenth of a beat: a loop end every few blocks.
    for (int slot = 0; slot < 3; ++slot)
        host.setPhrase (slot, makePhrase ({ { 0, 0, 40 }, { 1, 30, 50 }, { 2, 60, 30, 90, 3 } }, 96));

    const auto everyKindOfBlock = [&host]
    {
        const auto before = host.processBlockLocks;
        host.block ({ on (60, 100, 0), on (64, 90, 10), on (67, 80, 20) });
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
        host.blocks (2);
        return host.processBlockLocks - before;
    };

    // The first round may meet a render worker that has not started yet; the second counts.
    everyKindOfBlock();
    const auto blocksBefore = host.samplesPlayed / host.blockSize;
    const auto locks = everyKindOfBlock();
    // Under ThreadSanitizer nothing is counted; the blocks still run against the worker.
    if (ScopedLockCounter::isAvailable())
    {
        EXPECT_EQ (locks, 0u) << "in " << host.samplesPlayed / host.blockSize - blocksBefore << " blocks";
    }
}

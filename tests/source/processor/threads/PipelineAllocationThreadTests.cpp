#include <tests/source/processor/PluginHarness.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;
namespace ids = ParameterIds;

TEST (PipelineAllocation, noBlockAllocatesWhateverItDoes)
{
    PluginHarness host (256);
    host.processor.setNonRealtime (false); // next passes come from the render worker, as in a host

    for (const auto& [id, value] : { std::pair { ids::lockToKey, 1.0f }, { ids::randomVelocity, 10.0f }, { ids::swingAmount, 60.0f }, { ids::notePassthrough, 1.0f }, { ids::inputCcPassthrough, 1.0f }, { ids::inputRetrigger, 4.0f }, { ids::inputLatch, 1.0f }, { ids::velocityScaleLow, 30.0f }, { ids::velocityScaleHigh, 100.0f }, { ids::noteOutputRangeLow, 36.0f }, { ids::noteOutputRangeHigh, 96.0f } })
        host.set (id, value);

    host.setRows ({ makeRow (CadenziumModifier::all), makeRow (CadenziumModifier::random), makeRow (CadenziumModifier::fixed, 50, 2), makeRow (CadenziumModifier::pitch, 7) });

    for (int slot = 0; slot < 3; ++slot)
        host.setPhrase (slot, makePhrase ({ { 0, 0, 200, 100, 2 }, { 1, 240, 200 }, { 2, 480, 300 }, { 3, 480, 30 } }, 960));

    // Every kind of block, once to warm up and once counted: chords, keyswitches, a host
    // jump, a stop and a start, a key change, bypass, panic, preview, a requested phrase.
    const auto everyKindOfBlock = [&host]
    {
        const auto before = host.processBlockAllocations;
        host.block ({ on (60, 100, 0), on (64, 90, 10), on (67, 80, 20), cc (1, 30, 40) });
        host.blocks (30);
        host.block ({ on (25, 100, 7), off (25, 90) });
        host.processor.requestPhrase (2);
        host.block();
        host.playHead.ppq += 3.0;
        host.block();
        host.processor.setKeySignature (KeySignature (3, Scales::all()[2]));
        host.block();
        host.playHead.playing = false;
        host.block();
        host.playHead.playing = true;
        host.block();
        host.set (ids::enable, 0.0f);
        host.block ({ off (64, 3) });
        host.set (ids::enable, 1.0f);
        host.processor.requestPanic();
        host.block ({ on (64, 90, 10) });
        host.processor.sendControllerPreview (3, 7, 100);
        host.block ({ off (60, 5) });
        host.block ({ off (64, 1), off (67, 2) });
        return host.processBlockAllocations - before;
    };

    everyKindOfBlock();
    EXPECT_EQ (everyKindOfBlock(), 0u);
}

#include "PluginHarness.h"

#include <tests/support/AllocationCounter.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
namespace ids = ParameterIds;
}

TEST (PipelineAllocation, noBlockAllocatesWhateverItDoes)
{
    PluginHarness host (256);
    host.processor.setNonRealtime (false); // next passes come from the render worker, as in a host
    host.set (ids::lockToKey, 1.0f);
    host.set (ids::randomVelocity, 10.0f);
    host.set (ids::swingAmount, 60.0f);
    host.set (ids::notePassthrough, 1.0f);
    host.set (ids::inputCcPassthrough, 1.0f);
    host.set (ids::inputRetrigger, 2.0f);
    host.setRows ({ makeRow (CadenziumModifier::all), makeRow (CadenziumModifier::random), makeRow (CadenziumModifier::fixed, 50, 2) });

    for (int slot = 0; slot < 3; ++slot)
        host.setPhrase (slot, makePhrase ({ { 0, 0, 200, 100, 2 }, { 1, 240, 200 }, { 2, 480, 300 } }, 960));

    // Every kind of block, once to warm up and once counted: chords, keyswitches, a host
    // jump, a stop and a start, a key change, bypass, panic, preview, a requested phrase.
    const auto everyKindOfBlock = [&host]
    {
        const auto before = host.processBlockAllocations;
        const auto counted = [&host] (const std::vector<Event>& input)
        { host.block (input); };

        counted ({ on (60, 100, 0), on (64, 90, 10), on (67, 80, 20), cc (1, 30, 40) });
        for (int i = 0; i < 30; ++i)
            counted ({});
        counted ({ on (25, 100, 7), off (25, 90) });
        host.processor.requestPhrase (2);
        counted ({});
        host.playHead.ppq += 3.0;
        counted ({});
        host.processor.setKeySignature (KeySignature (3, Scales::all()[2]));
        counted ({});
        host.playHead.playing = false;
        counted ({});
        host.playHead.playing = true;
        counted ({});
        host.set (ids::enable, 0.0f);
        counted ({ off (64, 3) });
        host.set (ids::enable, 1.0f);
        host.processor.requestPanic();
        counted ({ on (64, 90, 10) });
        host.processor.sendControllerPreview (3, 7, 100);
        counted ({ off (60, 5) });
        counted ({ off (64, 1), off (67, 2) });
        return host.processBlockAllocations - before;
    };

    everyKindOfBlock();
    EXPECT_EQ (everyKindOfBlock(), 0u);
}

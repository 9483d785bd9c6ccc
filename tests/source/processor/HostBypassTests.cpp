#include "PluginHarness.h"

#include <gtest/gtest.h>

using namespace cadenzium::test;

TEST (Bypass, theSwitchAndTheHostsBypassEndWhatSoundsOnceThenPassTheInputUnchangedAndPlayingResumesAtTheNextBeat)
{
    for (const bool byTheHost : { false, true })
    {
        SCOPED_TRACE (byTheHost ? "the host's bypass" : "the product's switch");
        PluginHarness host;
        host.setRows ({ makeRow (CadenziumModifier::fixed, 60) });
        host.setPhrase (0, makePhrase ({ { 0, 0, 900 } }, 960));
        host.block ({ on (64, 100, 0) });
        ASSERT_EQ (host.counter.get (1, 60), 1);

        if (! byTheHost)
            host.set (ParameterIds::enable, 0.0f);

        const auto bypassed = [&] (const std::vector<Event>& input)
        { return byTheHost ? host.bypassedBlock (input) : host.block (input); };

        // The first bypassed block ends the phrase's note and passes the input on; later
        // ones only pass the input, the whole beat through.
        auto start = (int) host.samplesPlayed;
        EXPECT_EQ (bypassed ({ on (67, 90, 5) }), (std::vector<Event> { off (60, start), on (67, 90, start + 5) }));

        for (int i = 0; i < 50; ++i)
        {
            start = (int) host.samplesPlayed;
            EXPECT_EQ (bypassed ({ cc (7, 10, 2), off (64, 3) }), (std::vector<Event> { cc (7, 10, start + 2), off (64, start + 3) }));
        }

        // The host's bypass is its own: the product's switch stays on. Playing resumes from
        // the next beat with the chord released during the bypass gone.
        EXPECT_EQ (host.processor.getIntParameterValue (ParameterIds::enable), byTheHost ? 1 : 0);
        host.set (ParameterIds::enable, 1.0f);
        start = (int) host.samplesPlayed;
        EXPECT_EQ (host.block ({ off (67, 1) }), (std::vector<Event> { off (67, start + 1) }));
        EXPECT_EQ (PluginHarness::pitchesOf (PluginHarness::noteOns (host.playUntilTick (2 * 960 + 10))), std::vector<int> { 60 });
    }
}

TEST (Bypass, aKeyPressedWhileTheHostBypassesIsReleasedAtThePitchItSoundedAt)
{
    // Key lock on in C major moves C#4 to D4 when it passes through; the key went out raw
    // during the bypass, so its release after the bypass ends C#4.
    PluginHarness host;
    host.set (ParameterIds::notePassthrough, 1.0f);
    host.set (ParameterIds::notePassthroughScale, 1.0f);
    host.set (ParameterIds::lockToKey, 1.0f);
    host.block();

    host.bypassedBlock ({ on (61, 100, 3) });
    host.block ({ off (61, 4) });
    EXPECT_EQ (host.counter.sounding(), 0);
}

#include "PluginHarness.h"

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
/** One block through the host's bypass (what VST2's effSetBypass, VST3's bypass parameter
    and LV2's "enabled" port lead to), kept on the harness's timeline and note counter. */
std::vector<Event> bypassedBlock (PluginHarness& host, const std::vector<Event>& input = {})
{
    juce::AudioBuffer<float> audio (2, host.blockSize);
    audio.clear();
    juce::MidiBuffer midi;

    for (const auto& e : input)
        add (midi, e);

    host.processor.processBlockBypassed (audio, midi);
    host.counter.add (midi);

    auto out = eventsOf (midi);
    for (auto& e : out)
        e.sample += (int) host.samplesPlayed;

    host.lastBlockStart = host.samplesPlayed;
    host.samplesPlayed += host.blockSize;
    host.playHead.advance (host.blockSize, PluginHarness::sampleRate);
    return out;
}
} // namespace

TEST (HostBypass, theHostsBypassEndsWhatSoundsOnceAndThenPassesTheInputUnchanged)
{
    PluginHarness host;
    host.setRows ({ makeRow (CadenziumModifier::fixed, 60) });
    host.setPhrase (0, makePhrase ({ { 0, 0, 900 } }, 960));
    host.block ({ on (64, 100, 0) });
    ASSERT_EQ (host.counter.get (1, 60), 1);

    // The first bypassed block ends the phrase's note and passes the input on.
    auto start = (int) host.samplesPlayed;
    EXPECT_EQ (bypassedBlock (host, { on (67, 90, 5) }), (std::vector<Event> { off (60, start), on (67, 90, start + 5) }));
    EXPECT_EQ (host.counter.get (1, 60), 0);

    // Later ones only pass the input, the whole beat through.
    for (int i = 0; i < 50; ++i)
    {
        start = (int) host.samplesPlayed;
        EXPECT_EQ (bypassedBlock (host, { cc (7, 10, 2) }), (std::vector<Event> { cc (7, 10, start + 2) }));
    }

    // The host's bypass is its own: the product's switch stays on, and playing resumes from
    // the next beat with the key released during the bypass gone.
    EXPECT_EQ (host.processor.getIntParameterValue (ParameterIds::enable), 1);
    start = (int) host.samplesPlayed;
    EXPECT_EQ (host.block ({ off (67, 1) }), (std::vector<Event> { off (67, start + 1) }));
    EXPECT_EQ (PluginHarness::pitchesOf (PluginHarness::noteOns (host.playUntilTick (2 * 960 + 10))), std::vector<int> { 60 });
}

TEST (HostBypass, aKeyPressedWhileTheHostBypassesIsReleasedAtThePitchItSoundedAt)
{
    // Key lock on in C major moves C#4 to D4 when it passes through; the key went out raw
    // during the bypass, so its release after the bypass ends C#4.
    PluginHarness host;
    host.set (ParameterIds::notePassthrough, 1.0f);
    host.set (ParameterIds::notePassthroughScale, 1.0f);
    host.set (ParameterIds::lockToKey, 1.0f);
    host.block();

    bypassedBlock (host, { on (61, 100, 3) });
    host.block ({ off (61, 4) });
    EXPECT_EQ (host.counter.sounding(), 0);
    EXPECT_EQ (host.counter.get (1, 61), 0);
}

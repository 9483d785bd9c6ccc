// The built LV2 plug-in as an LV2 host runs it: what it tells the host about its parameters.

#include "Lv2TestHost.h"

#include <tests/source/processor/state/StateTestSupport.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
std::string property (const char* parameterId) { return std::string (CADENZIUM_LV2_URI ":") + parameterId; }

std::map<std::string, float> valuesOf (const std::vector<std::pair<std::string, float>>& sets)
{
    std::map<std::string, float> values;
    for (const auto& [key, value] : sets)
        values[key] = value;
    return values;
}
} // namespace

TEST (Lv2Plugin, tellsTheHostEveryParametersValueOnceActiveAfterEachStateRestoreAndWheneverAsked)
{
    Lv2TestHost host (juce::File (CADENZIUM_LV2_BUNDLE), CADENZIUM_LV2_URI);
    ASSERT_TRUE (host.isRunning());

    // Activated: all 42, as the plug-in has them, once.
    auto values = valuesOf (host.runBlock());
    EXPECT_EQ (values.size(), 42u);
    EXPECT_FLOAT_EQ (values[property ("swing_amount")], 0.0f);
    EXPECT_FLOAT_EQ (values[property ("g_note_density")], 10.0f);
    EXPECT_FLOAT_EQ (values[property ("velocity_scale_high")], 127.0f);
    EXPECT_FLOAT_EQ (values[property ("keyswitch_range")], 2.0f);
    EXPECT_TRUE (host.runBlock().empty());

    // A song's state (or a preset's, restored the same way): every value again, the song's among them.
    Cadenzium2AudioProcessor song;
    song.setRawParameterValueNotifyingHost ("swing_amount", 50.0f);
    ASSERT_TRUE (host.restoreState (CADENZIUM_LV2_URI ":StateString", stateOf (song).toBase64Encoding().toStdString()));
    values = valuesOf (host.runBlock());
    EXPECT_EQ (values.size(), 42u);
    EXPECT_FLOAT_EQ (values[property ("swing_amount")], 50.0f);
    EXPECT_FLOAT_EQ (values[property ("g_note_density")], 10.0f);

    // The host asks for all, or for one.
    const auto get = host.urid (LV2_PATCH__Get);
    EXPECT_EQ (host.runBlock ({ { get, { 0, 0.0f } } }).size(), 42u);
    const auto density = host.runBlock ({ { get, { host.urid (property ("g_note_density")), 0.0f } } });
    EXPECT_EQ (density, (std::vector<std::pair<std::string, float>> { { property ("g_note_density"), 10.0f } }));

    // A value the host sets reaches the plug-in, and is not sent back.
    EXPECT_TRUE (host.runBlock ({ { host.urid (LV2_PATCH__Set), { host.urid (property ("swing_amount")), 25.0f } } }).empty());
    juce::MemoryBlock saved;
    ASSERT_TRUE (saved.fromBase64Encoding (host.saveState()[CADENZIUM_LV2_URI ":StateString"]));
    Cadenzium2AudioProcessor restored;
    restore (restored, saved);
    EXPECT_FLOAT_EQ (restored.getRawParameterValue ("swing_amount"), 25.0f);
}

#include "ArdourHarness.h"

#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tests/support/TemporaryFolder.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
juce::MemoryBlock stateOf (Cadenzium2AudioProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getStateInformation (block);
    return block;
}
} // namespace

TEST (ArdourHost, aSessionKeepsThePluginStateThroughSaveAndReload)
{
    if (! ArdourHarness::isAvailable())
        GTEST_SKIP() << "Ardour is not installed (scripts/setup installs it)";

    TemporaryFolder work ("cadenzium-ardour");
    ArdourHarness ardour (juce::File (CADENZIUM_VST_PATH), juce::File (CADENZIUM_ARDOUR_SCRIPTS), juce::File (work.string()));

    ASSERT_TRUE (ardour.prepare()) << ardour.getLog();
    ASSERT_TRUE (ardour.createSession()) << ardour.getLog();

    Cadenzium2AudioProcessor known;
    known.setRawParameterValueNotifyingHost (ParameterIds::swingAmount, 37.0f);
    ASSERT_TRUE (ardour.setPluginChunk (stateOf (known))) << ardour.getLog();

    std::vector<RecordedNote> notes;
    ASSERT_TRUE (ardour.playChord ({ 60, 64, 67 }, 1500, notes)) << ardour.getLog();

    Cadenzium2AudioProcessor restored;
    const auto chunk = ardour.getPluginChunk();
    restored.setStateInformation (chunk.getData(), (int) chunk.getSize());
    EXPECT_FLOAT_EQ (restored.getRawParameterValue (ParameterIds::swingAmount), 37.0f);
}

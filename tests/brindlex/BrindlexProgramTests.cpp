#include "BrindlexProgramTest.h"

#include <tests/support/editor/ProductEditorTest.h>

using namespace cadenzium::test;

TEST_F (BrindlexProgramTest, aProgramBeyondTheListHasNoNameAndASaveTellsTheHostTwice)
{
    Cadenzium2AudioProcessor processor;
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    EXPECT_EQ (processor.getProgramName (7), "");
    EXPECT_EQ (toastTexts (processor), juce::StringArray ("ERROR: Invalid preset index: 7"));
    HostListener host (processor);
    processor.getPresetManager().savePreset ("Mine", "Ada", "", "");
    EXPECT_EQ (host.programChanges, 2);
    EXPECT_EQ (processor.getNumPrograms(), 4);
    EXPECT_EQ (processor.getProgramName (processor.getCurrentProgram()), "Mine");
}

TEST_F (BrindlexProgramTest, aProgramChangeWithin999MsOfAStateRestoreIsIgnoredAndAt1000MsLoads)
{
    Cadenzium2AudioProcessor source, processor;
    const auto state = stateOf (source);

    // Start just below the counter's wrap-around: the difference is taken unsigned.
    juce::uint32 now = 0xffffffffu - 500;
    processor.setMillisecondClock ([&now]
                                   { return now; });
    restore (processor, state);
    now += 999;
    processor.setCurrentProgram (1);
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    EXPECT_FLOAT_EQ (processor.getRawParameterValue ("swing_amount"), 0.0f);
    now += 1;
    processor.setCurrentProgram (1);
    EXPECT_EQ (processor.getCurrentProgram(), 1);
    EXPECT_FLOAT_EQ (processor.getRawParameterValue ("swing_amount"), 20.0f);
}

TEST_F (BrindlexProgramTest, aHostRestoreSelectsThePresetItsStateNames)
{
    Cadenzium2AudioProcessor first;
    first.setCurrentProgram (2);
    const auto state = stateOf (first);
    const auto xml = juce::AudioProcessor::getXmlFromBinary (state.getData(), (int) state.getSize());
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getStringAttribute ("preset_path"), "Factory/B.bpre") << "the same on every machine";
    Cadenzium2AudioProcessor second;
    HostListener host (second);
    restore (second, state);
    EXPECT_EQ (second.getCurrentProgram(), 2);
    EXPECT_EQ (second.getPresetManager().getCurrentPreset().name, "B");
    EXPECT_FLOAT_EQ (second.getRawParameterValue ("swing_amount"), 30.0f);
    EXPECT_EQ (host.programChanges, 1);

    // A state naming a preset that is gone leaves the current preset alone.
    const auto restoreNaming = [&] (const juce::String& presetPath)
    {
        xml->setAttribute ("preset_path", presetPath);
        juce::MemoryBlock named;
        juce::AudioProcessor::copyXmlToBinary (*xml, named);
        second.setStateInformation (named.getData(), (int) named.getSize());
        return second.getCurrentProgram();
    };
    EXPECT_EQ (restoreNaming ("/nowhere/Gone.bpre"), 2);

    // Songs saved before hold the absolute path, under this home or the one they were made in.
    EXPECT_EQ (restoreNaming (factory.getChildFile ("A.bpre").getFullPathName()), 1);
    EXPECT_EQ (restoreNaming ("/home/someone-else/.config/Brindlex/Cadenzium 2/Presets/Factory/B.bpre"), 2);
}


#include <tests/tarn/presets/PresetTestFiles.h>

#include <thread>

using namespace cadenzium::test;

namespace
{
/** Counts the host notifications a processor sends. */
struct HostSpy : juce::AudioProcessorListener
{
    void audioProcessorParameterChanged (juce::AudioProcessor*, int, float) override {}
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails& details) override { programChanges += details.programChanged ? 1 : 0; }
    int programChanges = 0;
};

/** Factory presets A (swing 20) and B (swing 30): programs 1 and 2 after the Initial Patch. */
class BrindlexProgramTest : public PresetLibraryTest
{
protected:
    void SetUp() override
    {
        PresetLibraryTest::SetUp();
        Cadenzium2AudioProcessor writer;
        writeFactoryPreset (writer, "A.bpre", 20.0f);
        writeFactoryPreset (writer, "B.bpre", 30.0f);
    }
};
} // namespace

TEST_F (BrindlexProgramTest, programsAreTheFlatListAndASaveTellsTheHostTwice)
{
    Cadenzium2AudioProcessor processor;
    EXPECT_EQ (processor.getNumPrograms(), 3);
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    EXPECT_EQ (processor.getProgramName (0), "Initial Patch");
    EXPECT_EQ (processor.getProgramName (2), "B");
    EXPECT_EQ (processor.getProgramName (7), "");
    EXPECT_EQ (toastTexts (processor), juce::StringArray ("ERROR: Invalid preset index: 7"));
    processor.setCurrentProgram (2);
    EXPECT_EQ (processor.getCurrentProgram(), 2);
    EXPECT_FLOAT_EQ (processor.getRawParameterValue ("swing_amount"), 30.0f);
    HostSpy host;
    processor.addListener (&host);
    processor.getPresetManager().savePreset ("Mine", "Ada", "", "");
    EXPECT_EQ (host.programChanges, 2);
    EXPECT_EQ (processor.getNumPrograms(), 4);
    EXPECT_EQ (processor.getProgramName (processor.getCurrentProgram()), "Mine");
    processor.removeListener (&host);
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
    EXPECT_EQ (xml->getStringAttribute ("preset_path"), factory.getChildFile ("B.bpre").getFullPathName());
    Cadenzium2AudioProcessor second;
    HostSpy host;
    second.addListener (&host);
    restore (second, state);
    EXPECT_EQ (second.getCurrentProgram(), 2);
    EXPECT_EQ (second.getPresetManager().getCurrentPreset().name, "B");
    EXPECT_FLOAT_EQ (second.getRawParameterValue ("swing_amount"), 30.0f);
    EXPECT_EQ (host.programChanges, 1);

    // A state naming a preset that is gone leaves the current preset alone.
    xml->setAttribute ("preset_path", "/nowhere/Gone.bpre");
    juce::MemoryBlock stale;
    juce::AudioProcessor::copyXmlToBinary (*xml, stale);
    second.setStateInformation (stale.getData(), (int) stale.getSize());
    EXPECT_EQ (second.getCurrentProgram(), 2);
    second.removeListener (&host);
}

TEST_F (BrindlexProgramTest, programChangesFromAHostThreadAreAppliedOnTheMessageThread)
{
    Cadenzium2AudioProcessor processor;
    struct Listener : tarn::PresetManager::Listener
    {
        void currentPresetChanged (const tarn::PresetInfo&) override { onMessageThread = juce::MessageManager::getInstance()->isThisTheMessageThread(); }
        std::optional<bool> onMessageThread;
    } listener;
    processor.getPresetManager().addListener (&listener);
    const auto changeFromHostThread = [&processor] (int program)
    { std::thread ([&processor, program]
                   { processor.setCurrentProgram (program); })
          .join(); };
    const auto dispatch = []
    { juce::MessageManager::getInstance()->runDispatchLoopUntil (50); };

    changeFromHostThread (2);
    EXPECT_EQ (processor.getCurrentProgram(), 0) << "not loaded on the host's thread";
    dispatch();
    EXPECT_EQ (processor.getCurrentProgram(), 2);
    EXPECT_EQ (listener.onMessageThread, std::optional<bool> (true));

    // A later change on the message thread wins over a request still waiting, and so does a
    // host restore.
    changeFromHostThread (1);
    processor.setCurrentProgram (2);
    dispatch();
    EXPECT_EQ (processor.getCurrentProgram(), 2);
    juce::uint32 now = 5000;
    processor.setMillisecondClock ([&now]
                                   { return now; });
    Cadenzium2AudioProcessor other;
    const auto state = stateOf (other);
    changeFromHostThread (1);
    restore (processor, state);
    dispatch();
    EXPECT_FLOAT_EQ (processor.getRawParameterValue ("swing_amount"), 0.0f) << "A (swing 20) was not loaded";
    EXPECT_EQ (processor.getCurrentProgram(), 0) << "the restored state names the Initial Patch";
    processor.getPresetManager().removeListener (&listener);
}

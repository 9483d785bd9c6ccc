#include <tests/brindlex/BrindlexProgramTest.h>

#include <thread>

using namespace cadenzium::test;

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

#include <source/processor/Cadenzium2AudioProcessor.h>
#include <source/processor/ParameterChangeBits.h>
#include <source/processor/Parameters.h>

#include <gtest/gtest.h>

namespace
{
juce::RangedAudioParameter& parameter (Cadenzium2AudioProcessor& p, const char* id)
{
    auto* param = p.getParameterState().getParameter (id);
    EXPECT_NE (param, nullptr) << id;
    return *param;
}
} // namespace

TEST (Parameters, textsConvertBothWaysAtTheEdges)
{
    Cadenzium2AudioProcessor processor;

    auto& range = parameter (processor, ParameterIds::keyswitchRange);
    EXPECT_EQ (range.getText (range.convertTo0to1 (10.0f), 64), "C8 : G8");
    EXPECT_EQ (range.getText (range.convertTo0to1 (0.0f), 64), "C-2 : B-2");
    EXPECT_FLOAT_EQ (range.convertFrom0to1 (range.getValueForText ("c1 : b1")), 3.0f);

    auto& low = parameter (processor, ParameterIds::noteOutputRangeLow);
    EXPECT_EQ (low.getText (low.convertTo0to1 (60.0f), 64), "C3");
    EXPECT_EQ (low.getText (low.convertTo0to1 (127.0f), 64), "G8");
    EXPECT_FLOAT_EQ (low.convertFrom0to1 (low.getValueForText ("Db3")), 61.0f);
    EXPECT_FLOAT_EQ (low.convertFrom0to1 (low.getValueForText ("C-2")), 0.0f);
    EXPECT_FLOAT_EQ (low.convertFrom0to1 (low.getValueForText ("72")), 72.0f);

    auto& timing = parameter (processor, ParameterIds::mutationTiming);
    EXPECT_EQ (timing.getText (timing.convertTo0to1 (1.0f), 64), "1 step");
    EXPECT_EQ (timing.getText (timing.convertTo0to1 (2.0f), 64), "2 steps");
    EXPECT_FLOAT_EQ (timing.convertFrom0to1 (timing.getValueForText ("off")), 0.0f);

    auto& swing = parameter (processor, ParameterIds::swingAmount);
    EXPECT_EQ (swing.getText (swing.convertTo0to1 (12.25f), 64), "12.3%");
    EXPECT_NEAR (swing.convertFrom0to1 (swing.getValueForText ("55 %")), 55.0f, 1.0e-4);

    auto& enable = parameter (processor, ParameterIds::enable);
    EXPECT_EQ (enable.getText (0.0f, 64), "Bypassed");
    EXPECT_FLOAT_EQ (enable.getValueForText ("bypassed"), 0.0f);
    EXPECT_FLOAT_EQ (enable.getValueForText ("On"), 1.0f);

    EXPECT_EQ (Parameters::parseNoteName ("H3"), -1);
    EXPECT_EQ (Parameters::parseNoteName ("C#"), -1);
    EXPECT_EQ (Parameters::parseNoteName ("G9"), 127);
}

TEST (Parameters, pingingInternalStepsAndWrapsBeforeOne)
{
    Cadenzium2AudioProcessor processor;
    auto& internal = parameter (processor, ParameterIds::internal);

    processor.pingInternalParameter();
    EXPECT_NEAR (internal.getValue(), 0.001f, 1.0e-6);

    internal.setValueNotifyingHost (0.9995f);
    processor.pingInternalParameter();
    EXPECT_FLOAT_EQ (internal.getValue(), 0.0f);
}

TEST (Parameters, changesRaiseTheBitsOfTheirGroupOnly)
{
    Cadenzium2AudioProcessor processor;
    const auto before = processor.peekPendingParameterChanges();

    parameter (processor, ParameterIds::genNoteDensity).setValueNotifyingHost (0.7f);
    EXPECT_EQ (processor.peekPendingParameterChanges(), before);

    parameter (processor, ParameterIds::keyswitchHold).setValueNotifyingHost (1.0f);
    parameter (processor, ParameterIds::velocityScaleHigh).setValueNotifyingHost (0.5f);

    EXPECT_EQ (processor.peekPendingParameterChanges() & ~before,
               (juce::uint32) (ParameterChangeBits::keyswitchSwitches | ParameterChangeBits::velocityScale) & ~before);
}

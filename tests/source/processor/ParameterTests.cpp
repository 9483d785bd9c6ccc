#include <source/processor/Cadenzium2AudioProcessor.h>
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

// The host test types one text of each kind; these are the ends of the ranges and the
// spellings a user may type.
TEST (Parameters, textsConvertBothWaysAtTheEdgesAndPingingInternalStepsAndWrapsBeforeOne)
{
    Cadenzium2AudioProcessor processor;
    const auto text = [&] (const char* id, float value)
    { return parameter (processor, id).getText (parameter (processor, id).convertTo0to1 (value), 64); };
    const auto valueOf = [&] (const char* id, const char* typed)
    { return parameter (processor, id).convertFrom0to1 (parameter (processor, id).getValueForText (typed)); };

    EXPECT_EQ (text (ParameterIds::keyswitchRange, 10.0f), "C8 : G8");
    EXPECT_EQ (text (ParameterIds::noteOutputRangeLow, 127.0f), "G8");
    EXPECT_EQ (text (ParameterIds::mutationTiming, 1.0f), "1 step");
    EXPECT_EQ (text (ParameterIds::swingAmount, 12.25f), "12.3%");
    EXPECT_FLOAT_EQ (valueOf (ParameterIds::keyswitchRange, "c1 : b1"), 3.0f);
    EXPECT_FLOAT_EQ (valueOf (ParameterIds::noteOutputRangeLow, "Db3"), 61.0f);
    EXPECT_FLOAT_EQ (valueOf (ParameterIds::noteOutputRangeLow, "72"), 72.0f);
    EXPECT_FLOAT_EQ (valueOf (ParameterIds::mutationTiming, "off"), 0.0f);
    EXPECT_NEAR (valueOf (ParameterIds::swingAmount, "55 %"), 55.0f, 1.0e-4);
    EXPECT_EQ (Parameters::parseNoteName ("H3"), -1);
    EXPECT_EQ (Parameters::parseNoteName ("C#"), -1);

    // Pinging `internal` steps it and wraps before one.
    auto& internal = parameter (processor, ParameterIds::internal);

    processor.pingInternalParameter();
    EXPECT_NEAR (internal.getValue(), 0.001f, 1.0e-6);

    internal.setValueNotifyingHost (0.9995f);
    processor.pingInternalParameter();
    EXPECT_FLOAT_EQ (internal.getValue(), 0.0f);
}

#include <source/editor/widgets/CadenziumKeyboard.h>
#include <source/processor/Cadenzium2AudioProcessor.h>

#include <gtest/gtest.h>

TEST (CadenziumKeyboard, theKeyswitchOctaveFollowsTheRangeAndGoesWhenKeyswitchesAreOff)
{
    Cadenzium2AudioProcessor processor;
    CadenziumKeyboard keyboard (processor);
    EXPECT_EQ (keyboard.getKeyswitchLowestNote(), 24);

    auto& state = processor.getParameterState();
    auto* range = state.getParameter ("keyswitch_range");
    range->setValueNotifyingHost (range->convertTo0to1 (4.0f));
    keyboard.refresh();
    EXPECT_EQ (keyboard.getKeyswitchLowestNote(), 48);

    state.getParameter ("keyswitch_enable")->setValueNotifyingHost (0.0f);
    keyboard.refresh();
    EXPECT_EQ (keyboard.getKeyswitchLowestNote(), -1);
}

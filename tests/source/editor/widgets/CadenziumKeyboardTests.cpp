#include <source/editor/widgets/CadenziumKeyboard.h>
#include <source/processor/Cadenzium2AudioProcessor.h>

#include <gtest/gtest.h>

TEST (CadenziumKeyboard, aKeyPlayedOnItJoinsTheInputAtTheNextBlockAndShowsAsHeld)
{
    Cadenzium2AudioProcessor processor;
    processor.prepareToPlay (44100.0, 512);
    CadenziumKeyboard keyboard (processor);
    keyboard.setSize (1000, 70);

    // What a click on the key does: the keyboard's state gets the note.
    processor.getInputKeyboardState().noteOn (1, 60, 0.8f);

    juce::AudioBuffer<float> audio (2, 512);
    juce::MidiBuffer midi;
    processor.processBlock (audio, midi);

    keyboard.refresh();
    EXPECT_TRUE (keyboard.isShownHeld (60));
    EXPECT_FALSE (keyboard.isShownHeld (62));

    processor.getInputKeyboardState().noteOff (1, 60, 0.0f);
    midi.clear();
    processor.processBlock (audio, midi);
    keyboard.refresh();
    EXPECT_FALSE (keyboard.isShownHeld (60));
}

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

#include <source/editor/overlays/RenderPreviewSequence.h>

#include <gtest/gtest.h>

TEST (RenderPreviewSequence, notePairsBecomeNotesOnTheRowsOfTheirPitchesInWholeBarsAndAnEmptyRenderIsOneBar)
{
    juce::MidiMessageSequence rendered;
    rendered.addEvent (juce::MidiMessage::noteOn (2, 60, (juce::uint8) 90), 0.4);
    rendered.addEvent (juce::MidiMessage::noteOff (2, 60), 479.6);
    rendered.addEvent (juce::MidiMessage::noteOn (1, 72, (juce::uint8) 30), 3840.0);
    rendered.addEvent (juce::MidiMessage::noteOff (1, 72), 3841.0);
    rendered.addEvent (juce::MidiMessage::noteOn (1, 48, (juce::uint8) 64), 5000.0); // never ended
    rendered.addEvent (juce::MidiMessage::controllerEvent (1, 7, 100), 6000.0);
    rendered.updateMatchedPairs();

    const auto preview = RenderPreviewSequence::build (rendered);
    ASSERT_EQ (preview.notes.size(), 2u);
    EXPECT_EQ (std::tuple (preview.notes[0].number, preview.notes[0].timestamp, preview.notes[0].length), std::tuple (60, 0, 480));
    EXPECT_EQ (std::tuple (preview.notes[0].velocityMax, preview.notes[0].channel), std::tuple (90, 2));
    EXPECT_EQ (std::tuple (preview.notes[1].number, preview.notes[1].timestamp, preview.notes[1].length), std::tuple (72, 3840, 1));
    EXPECT_EQ (preview.getLength(), 7680) << "a note one tick into bar 2 makes two bars";
    EXPECT_TRUE (preview.lanes.empty());

    for (const auto& loop : preview.loops)
        EXPECT_FALSE (loop.isSet());

    // An empty render is one empty bar; an end on a bar line adds no bar.
    EXPECT_EQ (RenderPreviewSequence::build ({}).getLength(), 3840);
    rendered.clear();
    rendered.addEvent (juce::MidiMessage::noteOn (1, 40, (juce::uint8) 100), 0.0);
    rendered.addEvent (juce::MidiMessage::noteOff (1, 40), 7680.0);
    EXPECT_EQ (RenderPreviewSequence::build (rendered).getLength(), 7680);
}

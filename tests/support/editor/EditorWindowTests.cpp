#include "EditorWindow.h"
#include "TestDisplay.h"

#include <gtest/gtest.h>

namespace cadenzium::test
{
namespace
{
    /** A window with a button, a text field and a painted square: enough to check that
        each kind of input arrives where a user's would. */
    struct ProbeEditor : juce::AudioProcessorEditor
    {
        explicit ProbeEditor (juce::AudioProcessor& p)
            : juce::AudioProcessorEditor (p)
        {
            button.setComponentID ("probe_button");
            button.onClick = [this]
            { ++clicks; };
            text.setComponentID ("probe_text");
            addAndMakeVisible (button);
            addAndMakeVisible (text);
            setSize (400, 300);
        }

        void paint (juce::Graphics& g) override
        {
            g.fillAll (juce::Colour (0xff203040));
            g.setColour (juce::Colour (0xffe03c26));
            g.fillRect (300, 200, 50, 50);
        }

        void resized() override
        {
            button.setBounds (20, 20, 120, 40);
            text.setBounds (20, 100, 200, 30);
        }

        juce::TextButton button { "Press" };
        juce::TextEditor text;
        int clicks = 0;
    };

    struct ProbeProcessor : juce::AudioProcessor
    {
        ProbeProcessor() : juce::AudioProcessor (BusesProperties()) {}
        const juce::String getName() const override { return "probe"; }
        void prepareToPlay (double, int) override {}
        void releaseResources() override {}
        void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override {}
        using juce::AudioProcessor::processBlock;
        double getTailLengthSeconds() const override { return 0.0; }
        bool acceptsMidi() const override { return false; }
        bool producesMidi() const override { return false; }
        juce::AudioProcessorEditor* createEditor() override { return new ProbeEditor (*this); }
        bool hasEditor() const override { return true; }
        int getNumPrograms() override { return 1; }
        int getCurrentProgram() override { return 0; }
        void setCurrentProgram (int) override {}
        const juce::String getProgramName (int) override { return {}; }
        void changeProgramName (int, const juce::String&) override {}
        void getStateInformation (juce::MemoryBlock&) override {}
        void setStateInformation (const void*, int) override {}
    };
} // namespace

TEST (EditorWindowSupport, serverEventsClickTypeAndShowWhatWasPainted)
{
    ASSERT_TRUE (TestDisplay::get()->hasXTest());

    ProbeProcessor processor;
    EditorWindow window (processor);
    auto& editor = window.getEditorAs<ProbeEditor>();

    window.xClick (editor.button);
    EXPECT_EQ (editor.clicks, 1);

    window.xClick (editor.text);
    window.xType ("Bass (x2)");
    window.xKey ("BackSpace");
    EXPECT_EQ (editor.text.getText(), "Bass (x2");

    EXPECT_EQ (window.getScreenArea().getWidth(), 400);
    EXPECT_EQ (window.pixelAt (editor, { 325.0f, 225.0f }), juce::Colour (0xffe03c26));
    EXPECT_EQ (window.pixelAt (editor, { 380.0f, 20.0f }), juce::Colour (0xff203040));

    const auto file = window.saveScreenshot ("probe");
    EXPECT_TRUE (file.existsAsFile());
    EXPECT_EQ (juce::ImageFileFormat::loadFrom (file).getWidth(), 400);
}

TEST (EditorWindowSupport, atAHostScaleFactorOfTwoEitherKindOfInputReachesTheComponentUnderThePointer)
{
    ProbeProcessor processor;
    EditorWindow window (processor, 2.0f);
    auto& editor = window.getEditorAs<ProbeEditor>();

    EXPECT_EQ (window.getScreenArea().getWidth(), 800);
    EXPECT_EQ (window.getScreenArea().getHeight(), 600);
    EXPECT_EQ (window.pixelAt (editor, { 325.0f, 225.0f }), juce::Colour (0xffe03c26));

    // Points are given in the component's own coordinates, whatever the scale.
    window.click (EditorWindow::get<juce::TextButton> ("probe_button"));
    window.xClick (editor.button);
    EXPECT_EQ (editor.clicks, 2);

    // A click just outside the button reaches nothing.
    window.click (editor, juce::Point<float> (150.0f, 40.0f));
    EXPECT_EQ (editor.clicks, 2);

    window.click (EditorWindow::get<juce::TextEditor> ("probe_text"));
    window.typeText ("Warm Pad 2");
    EXPECT_EQ (editor.text.getText(), "Warm Pad 2");
}

} // namespace cadenzium::test

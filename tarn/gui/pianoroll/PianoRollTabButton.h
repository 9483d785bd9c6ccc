#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace tarn
{

/** A text button of the piano roll (the value editor's modes, the grid size), lit while
    it is on. It never takes the keyboard focus. [message thread] */
class PianoRollTabButton : public juce::Button
{
public:
    PianoRollTabButton (const juce::String& buttonText, const juce::String& helpText, const juce::String& componentId);

    /** The text's size before the theme's scale (the lane tabs' small one by default). */
    void setTextSize (float size);

    void paintButton (juce::Graphics&, bool isHighlighted, bool isDown) override;

private:
    float textSize;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PianoRollTabButton)
};

} // namespace tarn

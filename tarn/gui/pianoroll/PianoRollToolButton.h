#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace tarn
{

/** A tool button of the piano roll: the theme's icon of that name, or its text while the
    theme has no such icon; lit while its tool is chosen. [message thread] */
class PianoRollToolButton : public juce::Button
{
public:
    PianoRollToolButton (const juce::String& buttonText, const juce::String& iconName, const juce::String& helpText, const juce::String& componentId);

    void paintButton (juce::Graphics&, bool isHighlighted, bool isDown) override;
    void lookAndFeelChanged() override;

private:
    juce::String iconName;
    std::unique_ptr<juce::Drawable> icon;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PianoRollToolButton)
};

} // namespace tarn

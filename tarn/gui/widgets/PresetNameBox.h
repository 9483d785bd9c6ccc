#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace tarn
{

/** The box that shows the current preset's name and opens the preset menu when clicked
    (the owner's onClick). The name is the button's text. [message thread] */
class PresetNameBox : public juce::Button
{
public:
    PresetNameBox();
    ~PresetNameBox() override;

    void paintButton (juce::Graphics& g, bool highlighted, bool down) override;

private:
    void lookAndFeelChanged() override;

    std::unique_ptr<juce::Drawable> arrow;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetNameBox)
};

} // namespace tarn

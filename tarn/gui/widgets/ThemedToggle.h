#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace tarn
{
/** An on/off switch with its label on the left, in the theme's colours. [message thread] */
class ThemedToggle : public juce::ToggleButton
{
public:
    explicit ThemedToggle (const juce::String& label);

    void paintButton (juce::Graphics& g, bool isHighlighted, bool isDown) override;

    /** The width of the switch part, from the theme. */
    int getSwitchWidth() const;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ThemedToggle)
};
} // namespace tarn

#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace tarn
{
/** A square button showing one of the theme's icons; a toggling one shows its "on" state in
    the theme's primary colour. [message thread] */
class IconButton : public juce::Button
{
public:
    IconButton (const juce::String& iconName, const juce::String& componentId, const juce::String& tooltip);

    void setIcon (const juce::String& newIconName);
    const juce::String& getIconName() const noexcept { return iconName; }

    void paintButton (juce::Graphics& g, bool isHighlighted, bool isDown) override;

private:
    juce::String iconName;
    std::unique_ptr<juce::Drawable> icon;
    juce::String iconColourPath;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (IconButton)
};
} // namespace tarn

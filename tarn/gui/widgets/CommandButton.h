#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace tarn
{
/** A text button in the theme's colours, with an optional icon before the text. A toggled
    ("on") button is filled with the theme's primary colour, so a row of them works as tabs
    or as a choice. [message thread] */
class CommandButton : public juce::Button
{
public:
    explicit CommandButton (const juce::String& buttonText, const juce::String& iconName = {});

    /** A command that removes something: outlined and lettered in the theme's warning
        colour, filled with it while pressed or hovered. */
    void setDestructive (bool isDestructive);

    /** The width the text and icon need at the button's height. */
    int getIdealWidth (int height) const;

    void paintButton (juce::Graphics& g, bool isHighlighted, bool isDown) override;

private:
    juce::String iconName;
    std::unique_ptr<juce::Drawable> icon;
    juce::String iconColourPath;
    bool destructive = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CommandButton)
};
} // namespace tarn

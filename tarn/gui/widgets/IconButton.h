#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace tarn
{

/** A button that is one of the library's icons: drawn in the theme's text colour, lit in
    the theme colour when toggled on or hovered, dimmed when disabled. A caption, when it has
    one, follows the icon in the same colour (a command that must read without its tooltip);
    with no icon name the caption stands alone. It never takes the keyboard focus.
    [message thread] */
class IconButton : public juce::Button
{
public:
    IconButton (const juce::String& iconName, const juce::String& componentId, const juce::String& tooltip);
    ~IconButton() override;

    void setIcon (const juce::String& iconName);
    const juce::String& getIconName() const noexcept { return iconName; }

    void setCaption (const juce::String& text);
    const juce::String& getCaption() const noexcept { return caption; }

    /** The width the icon and the caption need at the button's height. */
    int getIdealWidth (int height) const;

    /** Space around the icon, in pixels (default: the theme's "iconButtonPadding"). */
    void setIconPadding (std::optional<float> padding);

    void paintButton (juce::Graphics& g, bool highlighted, bool down) override;

protected:
    void lookAndFeelChanged() override;
    void enablementChanged() override;

private:
    enum class Look
    {
        normal,
        highlighted,
        on,
        disabled
    };

    juce::Drawable& getIcon (Look look);

    juce::String iconName, caption;
    std::optional<float> iconPadding;
    std::array<std::unique_ptr<juce::Drawable>, 4> icons;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (IconButton)
};

} // namespace tarn

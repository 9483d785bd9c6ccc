#include "Panel.h"

#include <tarn/gui/Theme.h>

namespace tarn
{
/** The caption strip: the caption on the left, the fold icon on the right. */
class Panel::CaptionButton : public juce::Button
{
public:
    explicit CaptionButton (Panel& p) : juce::Button (p.getCaption()), panel (p)
    {
        setComponentID ("collapse");
        setTooltip ("Click to collapse or open the " + p.getCaption() + " panel");
        setWantsKeyboardFocus (false);
    }

    void paintButton (juce::Graphics& g, bool isHighlighted, bool isDown) override
    {
        auto area = getLocalBounds().toFloat();
        const auto padding = (float) panel.getPadding();
        const auto iconSize = themeMetric (*this, "collapseIconSize", 10.0f);

        auto textColour = themeColour (*this, "text.text");
        if (isHighlighted || isDown)
            textColour = themeColour (*this, "text.highlightedtext");

        g.setColour (textColour);
        g.setFont (themeFont (*this));
        g.drawText (getButtonText(), area.reduced (padding, 0.0f), juce::Justification::centredLeft, true);

        auto iconArea = area.removeFromRight (padding + iconSize).removeFromLeft (iconSize)
                            .withSizeKeepingCentre (iconSize, iconSize);
        juce::Path chevron;
        if (panel.isCollapsed())
            chevron.addTriangle (iconArea.getTopLeft(), iconArea.getBottomLeft(), { iconArea.getRight(), iconArea.getCentreY() });
        else
            chevron.addTriangle (iconArea.getTopLeft(), iconArea.getTopRight(), { iconArea.getCentreX(), iconArea.getBottom() });

        g.fillPath (chevron);
    }

private:
    Panel& panel;
};

Panel::Panel (const juce::String& captionText)
    : caption (captionText), captionButton (std::make_unique<CaptionButton> (*this))
{
    setComponentID (captionText);
    captionButton->onClick = [this]
    { setCollapsed (! collapsed); };
    addAndMakeVisible (*captionButton);
}

Panel::~Panel() = default;

juce::Button& Panel::getCaptionButton() noexcept
{
    return *captionButton;
}

void Panel::setCollapsed (bool shouldBeCollapsed, juce::NotificationType notification)
{
    if (collapsed == shouldBeCollapsed)
        return;

    collapsed = shouldBeCollapsed;
    showBody (! collapsed);
    captionButton->repaint();
    resized();

    if (notification != juce::dontSendNotification && onCollapsedChange != nullptr)
        onCollapsedChange();
}

void Panel::showBody (bool shouldShow)
{
    for (auto* child : getChildren())
        if (child != captionButton.get())
            child->setVisible (shouldShow);
}

int Panel::getPadding() const
{
    return juce::roundToInt (themeMetric (*this, "panelPadding", 20.0f) / 2.0f);
}

int Panel::getCaptionHeight() const
{
    return juce::roundToInt (themeMetric (*this, "topBarButtonHeight", 30.0f));
}

int Panel::getPreferredHeight (int width) const
{
    if (collapsed)
        return getCaptionHeight();

    return getCaptionHeight() + getBodyHeight (width - 2 * getPadding()) + getPadding();
}

void Panel::paint (juce::Graphics& g)
{
    const auto border = themeMetric (*this, "panelBorderWidth", 1.0f);
    const auto corner = themeMetric (*this, "cornerRadius", 2.5f);
    const auto area = getLocalBounds().toFloat().reduced (border / 2.0f);

    g.setColour (themeColour (*this, "background.panel"));
    g.fillRoundedRectangle (area, corner);
    g.setColour (themeColour (*this, "elements.elementborder"));
    g.drawRoundedRectangle (area, corner, border);
}

void Panel::resized()
{
    auto area = getLocalBounds();
    captionButton->setBounds (area.removeFromTop (getCaptionHeight()));

    if (! collapsed)
        layoutBody (area.reduced (getPadding(), 0).withTrimmedBottom (getPadding()));
}
} // namespace tarn

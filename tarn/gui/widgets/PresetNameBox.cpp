#include "PresetNameBox.h"

#include <tarn/gui/Theme.h>

namespace tarn
{

PresetNameBox::PresetNameBox()
    : juce::Button ("preset_name")
{
    setComponentID ("preset_name");
    setTooltip ("Select a preset");
    setWantsKeyboardFocus (false);
    setMouseClickGrabsKeyboardFocus (false);
    setTriggeredOnMouseDown (true);
}

PresetNameBox::~PresetNameBox() = default;

void PresetNameBox::lookAndFeelChanged()
{
    arrow.reset();
    repaint();
}

void PresetNameBox::paintButton (juce::Graphics& g, bool highlighted, bool down)
{
    const auto bounds = getLocalBounds().toFloat();
    const auto corner = themeMetric (*this, "cornerRadius", 2.5f);

    g.setColour (themeColour (*this, "elements.element").brighter (highlighted || down ? 0.08f : 0.0f));
    g.fillRoundedRectangle (bounds, corner);
    g.setColour (themeColour (*this, "elements.outline"));
    g.drawRoundedRectangle (bounds.reduced (0.5f), corner, 1.0f);

    const auto arrowSize = bounds.getHeight() * 0.45f;
    auto textArea = bounds.reduced (12.0f, 0.0f);
    const auto arrowArea = textArea.removeFromRight (arrowSize).withSizeKeepingCentre (arrowSize, arrowSize);

    if (arrow == nullptr)
        arrow = themeIcon (*this, "angledown", "text.text");

    if (arrow != nullptr)
        arrow->drawWithin (g, arrowArea, juce::RectanglePlacement::centred, 0.8f);

    g.setColour (themeColour (*this, "text.text"));
    g.setFont (themeFont (*this));
    g.drawText (getButtonText(), textArea.withTrimmedRight (6.0f), juce::Justification::centredLeft, true);
}

} // namespace tarn

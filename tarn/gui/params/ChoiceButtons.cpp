#include "ChoiceButtons.h"

#include "ParameterText.h"

#include <tarn/gui/Theme.h>

namespace tarn::params
{
ChoiceButtons::ChoiceButtons (juce::RangedAudioParameter& p, const juce::String& labelText, const juce::String& tooltip)
    : parameter (p), label (labelText)
{
    setComponentID (p.getParameterID());
    setTooltip (tooltip);

    attachment = std::make_unique<juce::ParameterAttachment> (p, [this] (float value)
                                                              { showValue (value); });

    const auto range = p.getNormalisableRange();
    for (auto value = range.start; value <= range.end + 0.5f; value += 1.0f)
    {
        auto* button = buttons.add (std::make_unique<CommandButton> (textFor (p, value)));
        button->setTooltip (tooltip);
        button->setClickingTogglesState (false);
        button->onClick = [this, value]
        { attachment->setValueAsCompleteGesture (value); };
        addAndMakeVisible (button);
    }

    attachment->sendInitialUpdate();
}

ChoiceButtons::~ChoiceButtons() = default;

void ChoiceButtons::showValue (float value)
{
    const auto index = juce::roundToInt (value - parameter.getNormalisableRange().start);
    for (int i = 0; i < buttons.size(); ++i)
        buttons[i]->setToggleState (i == index, juce::dontSendNotification);
}

int ChoiceButtons::getSelectedIndex() const
{
    for (int i = 0; i < buttons.size(); ++i)
        if (buttons[i]->getToggleState())
            return i;
    return -1;
}

int ChoiceButtons::getPreferredHeight() const
{
    return juce::roundToInt (themeMetric (*this, "defaultButtonHeight", 25.0f));
}

int ChoiceButtons::getMinimumWidth() const
{
    int width = 0;
    for (auto* button : buttons)
        width += button->getIdealWidth (getPreferredHeight());
    return width;
}

void ChoiceButtons::resized()
{
    const auto gap = juce::roundToInt (themeMetric (*this, "choiceButtonGap", 0.0f));
    auto area = getLocalBounds();
    const auto count = buttons.size();
    const auto width = (area.getWidth() - (count - 1) * gap) / std::max (1, count);

    for (int i = 0; i < count; ++i)
    {
        buttons[i]->setBounds (i == count - 1 ? area : area.removeFromLeft (width));
        area.removeFromLeft (gap);
    }
}
} // namespace tarn::params

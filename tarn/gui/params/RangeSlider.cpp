#include "RangeSlider.h"

#include "ParameterText.h"

#include <tarn/gui/Theme.h>

namespace tarn::params
{
RangeSlider::RangeSlider (juce::RangedAudioParameter& lowParameter, juce::RangedAudioParameter& highParameter,
                          const juce::String& labelText, const juce::String& tooltip)
    : low (lowParameter), high (highParameter), label (labelText)
{
    setComponentID (low.getParameterID());
    setTooltip (tooltip);
    slider.setTooltip (tooltip);
    slider.setName (labelText);

    // Both bounds share the low parameter's range; a step of 1 keeps the handles on the
    // whole values the settings are used as.
    const auto range = low.getNormalisableRange();
    slider.setRange ((double) range.start, (double) range.end, range.interval > 0.0f ? (double) range.interval : 1.0);

    lowAttachment = std::make_unique<juce::ParameterAttachment> (low, [this] (float)
                                                                 { showParameterValues(); });
    highAttachment = std::make_unique<juce::ParameterAttachment> (high, [this] (float)
                                                                  { showParameterValues(); });

    slider.onDragStart = [this]
    {
        draggedThumb = slider.getThumbBeingDragged();
        if (draggedThumb == 1 || draggedThumb == 2)
            attachmentFor (draggedThumb).beginGesture();
    };
    slider.onDragEnd = [this]
    {
        if (draggedThumb == 1 || draggedThumb == 2)
            attachmentFor (draggedThumb).endGesture();
        draggedThumb = 0;
    };
    slider.onValueChange = [this]
    { sliderMoved(); };

    showParameterValues();
    addAndMakeVisible (slider);
}

RangeSlider::~RangeSlider() = default;

juce::ParameterAttachment& RangeSlider::attachmentFor (int thumb)
{
    return thumb == 1 ? *lowAttachment : *highAttachment;
}

void RangeSlider::showParameterValues()
{
    const juce::ScopedValueSetter<bool> updating (updatingFromParameters, true);
    const auto lowValue = currentValueOf (low);
    const auto highValue = std::max (lowValue, currentValueOf (high));
    slider.setMinAndMaxValues (lowValue, highValue, juce::sendNotificationSync);
    repaint();
}

void RangeSlider::sliderMoved()
{
    repaint();

    if (updatingFromParameters)
        return;

    auto send = [this] (juce::ParameterAttachment& attachment, int thumb, juce::RangedAudioParameter& parameter, double value)
    {
        if (juce::approximatelyEqual ((float) value, currentValueOf (parameter)))
            return;

        if (draggedThumb == thumb)
            attachment.setValueAsPartOfGesture ((float) value);
        else
            attachment.setValueAsCompleteGesture ((float) value);
    };

    // Both are read first: writing one shows the parameters again, which moves the handles.
    const auto newLow = slider.getMinValue(), newHigh = slider.getMaxValue();
    send (*lowAttachment, 1, low, newLow);
    send (*highAttachment, 2, high, newHigh);
}

juce::String RangeSlider::getValueText() const
{
    return textFor (low, currentValueOf (low)) + " - " + textFor (high, currentValueOf (high));
}

int RangeSlider::getPreferredHeight() const
{
    return juce::roundToInt (themeMetric (*this, "knobLabelHeight", 15.0f) + themeMetric (*this, "comboHeight", 20.0f));
}

void RangeSlider::resized()
{
    slider.setBounds (getLocalBounds().withTrimmedTop (juce::roundToInt (themeMetric (*this, "knobLabelHeight", 15.0f))));
}

void RangeSlider::paint (juce::Graphics& g)
{
    const auto textArea = getLocalBounds().withHeight (slider.getY());
    g.setFont (themeFont (*this));
    g.setColour (themeColour (*this, isEnabled() ? "text.text" : "text.disabledtext"));
    g.drawFittedText (label, textArea, juce::Justification::centredLeft, 1, 0.75f);
    g.setColour (themeColour (*this, "text.disabledtext"));
    g.drawFittedText (getValueText(), textArea, juce::Justification::centredRight, 1, 0.75f);
}
} // namespace tarn::params

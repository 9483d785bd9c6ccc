#include "ThemedSlider.h"

#include <tarn/gui/Theme.h>

namespace tarn
{
ThemedSlider::ThemedSlider (SliderStyle style) : juce::Slider (style, NoTextBox)
{
    setScrollWheelEnabled (true);
    setWantsKeyboardFocus (false);
    setMouseDragSensitivity (200);
    setVelocityBasedMode (false);
    setSliderSnapsToMousePosition (style != RotaryHorizontalVerticalDrag);
}

void ThemedSlider::paint (juce::Graphics& g)
{
    if (isRotary())
        paintRotary (g);
    else
        paintHorizontal (g);
}

void ThemedSlider::paintRotary (juce::Graphics& g)
{
    const auto trackWidth = themeMetric (*this, "knobTrackWidth", 5.0f);
    const auto handlePadding = themeMetric (*this, "knobHandlePadding", 8.0f);
    const auto dotPadding = themeMetric (*this, "knobDotPadding", 17.0f);
    const auto dotSize = themeMetric (*this, "knobDotSize", 7.0f);

    const auto bounds = getLocalBounds().toFloat();
    const auto diameter = std::min (bounds.getWidth(), bounds.getHeight());
    const auto ring = bounds.withSizeKeepingCentre (diameter, diameter).reduced (trackWidth / 2.0f);
    const auto centre = ring.getCentre();
    const auto radius = ring.getWidth() / 2.0f;

    const auto params = getRotaryParameters();
    const auto proportion = (float) valueToProportionOfLength (getValue());
    const auto angle = params.startAngleRadians + proportion * (params.endAngleRadians - params.startAngleRadians);
    const auto enabled = isEnabled();

    juce::Path track;
    track.addCentredArc (centre.x, centre.y, radius, radius, 0.0f, params.startAngleRadians, params.endAngleRadians, true);
    g.setColour (themeColour (*this, "slider.trackbackground"));
    g.strokePath (track, juce::PathStrokeType (trackWidth, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));

    if (proportion > 0.0f)
    {
        juce::Path value;
        value.addCentredArc (centre.x, centre.y, radius, radius, 0.0f, params.startAngleRadians, angle, true);
        g.setColour (themeColour (*this, enabled ? "slider.track" : "elements.disabledelementborder"));
        g.strokePath (value, juce::PathStrokeType (trackWidth, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    }

    const auto knobRadius = std::max (2.0f, radius - handlePadding);
    g.setColour (themeColour (*this, "slider.knob"));
    g.fillEllipse (juce::Rectangle<float> (knobRadius * 2.0f, knobRadius * 2.0f).withCentre (centre));
    g.setColour (themeColour (*this, "slider.border"));
    g.drawEllipse (juce::Rectangle<float> (knobRadius * 2.0f, knobRadius * 2.0f).withCentre (centre), 1.0f);

    // The dot sits dotPadding in from the ring's outer edge, scaled down on small knobs.
    const auto dotDistance = std::max (0.0f, radius + trackWidth / 2.0f - dotPadding * diameter / 64.0f);
    const auto dot = centre.getPointOnCircumference (std::min (dotDistance, knobRadius - dotSize / 2.0f), angle);
    g.setColour (themeColour (*this, "slider.dot"));
    g.fillEllipse (juce::Rectangle<float> (dotSize, dotSize).withCentre (dot));
}

void ThemedSlider::paintHorizontal (juce::Graphics& g)
{
    const auto trackWidth = themeMetric (*this, "knobTrackWidth", 5.0f);
    const auto handle = trackWidth * 2.4f;
    auto bounds = getLocalBounds().toFloat().reduced (handle / 2.0f, 0.0f);
    const auto y = bounds.getCentreY();
    const auto enabled = isEnabled();

    auto xFor = [&] (double value)
    { return bounds.getX() + (float) valueToProportionOfLength (value) * bounds.getWidth(); };

    g.setColour (themeColour (*this, "slider.trackbackground"));
    g.fillRoundedRectangle (bounds.withHeight (trackWidth).withCentre ({ bounds.getCentreX(), y }), trackWidth / 2.0f);

    const auto twoValue = isTwoValue();
    const auto from = twoValue ? xFor (getMinValue()) : bounds.getX();
    const auto to = twoValue ? xFor (getMaxValue()) : xFor (getValue());

    g.setColour (themeColour (*this, enabled ? "slider.track" : "elements.disabledelementborder"));
    g.fillRoundedRectangle (juce::Rectangle<float> (from, y - trackWidth / 2.0f, std::max (0.0f, to - from), trackWidth), trackWidth / 2.0f);

    auto drawHandle = [&] (float x)
    {
        const auto area = juce::Rectangle<float> (handle, handle).withCentre ({ x, y });
        g.setColour (themeColour (*this, "slider.knob"));
        g.fillEllipse (area);
        g.setColour (themeColour (*this, enabled ? "slider.ring" : "elements.disabledelementborder"));
        g.drawEllipse (area.reduced (0.75f), 1.5f);
    };

    if (twoValue)
        drawHandle (from);

    drawHandle (to);
}
} // namespace tarn

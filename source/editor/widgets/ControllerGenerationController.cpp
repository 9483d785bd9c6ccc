#include "ControllerGenerationController.h"

#include <source/editor/panels/ControlTables.h>
#include <source/generation/ControllerGeneration.h>
#include <tarn/gui/Theme.h>
#include <tarn/sequence/Sequence.h>

namespace
{
namespace Ids = ControllerGeneration::Ids;

// Rows of the layout: the name, then the range and the density, each this far down.
constexpr int lineHeight = 20, rangeTop = 25, densityTop = 45, valueWidth = 100, enableWidth = 40;
} // namespace

ControllerGenerationController::ControllerGenerationController (int lane, const juce::ValueTree& settings, Writer writer)
    : write (std::move (writer))
{
    const auto prefix = "controller_" + juce::String (lane) + "_";
    setComponentID ("controller_" + juce::String (lane));

    enable.setComponentID (prefix + "enable");
    enable.setTooltip (ControlTables::controllerEnableTooltip);
    range.setComponentID (prefix + "range");
    range.setTooltip (ControlTables::controllerRangeTooltip);
    range.setRange (0.0, 1.0, 0.0);
    density.setComponentID (prefix + "density");
    density.setTooltip (ControlTables::controllerDensityTooltip);
    density.setRange (0.0, 100.0, 1.0);

    show (settings);

    enable.onClick = [this]
    {
        if (! showing)
            write (Ids::enable, enable.getToggleState());
    };
    range.onValueChange = [this]
    {
        repaint();
        if (showing)
            return;
        write (Ids::rangeMin, range.getMinValue());
        write (Ids::rangeMax, range.getMaxValue());
    };
    density.onValueChange = [this]
    {
        repaint();
        if (! showing)
            write (Ids::density, density.getValue());
    };

    addAndMakeVisible (enable);
    addAndMakeVisible (range);
    addAndMakeVisible (density);
}

void ControllerGenerationController::show (const juce::ValueTree& settings)
{
    const juce::ScopedValueSetter<bool> showingNow (showing, true);

    name = settings.getProperty (Ids::name).toString();
    laneType = (int) settings.getProperty (Ids::type, 0);
    enable.setToggleState ((bool) settings.getProperty (Ids::enable, false), juce::dontSendNotification);

    const auto low = juce::jlimit (0.0, 1.0, (double) settings.getProperty (Ids::rangeMin, 0.0));
    const auto high = juce::jlimit (low, 1.0, (double) settings.getProperty (Ids::rangeMax, 1.0));
    range.setMinAndMaxValues (low, high, juce::dontSendNotification);
    density.setValue ((double) settings.getProperty (Ids::density, 0.0), juce::dontSendNotification);
    repaint();
}

juce::String ControllerGenerationController::getRangeText() const
{
    // The values generation draws, in the lane's own values.
    const auto pitchBend = laneType == tarn::ControllerLane::pitchBend;
    const auto lowest = pitchBend ? -8192 : 0;
    const auto highest = pitchBend ? 8191 : 127;
    const auto span = highest - lowest;
    const auto low = lowest + juce::roundToInt ((float) range.getMinValue() * (float) span);
    const auto high = std::max (low, highest - juce::roundToInt ((1.0f - (float) range.getMaxValue()) * (float) span));
    return juce::String (low) + " - " + juce::String (high);
}

juce::String ControllerGenerationController::getDensityText() const
{
    return juce::String ((int) density.getValue()) + "%";
}

int ControllerGenerationController::getPreferredHeight() const
{
    return densityTop + lineHeight;
}

juce::Rectangle<int> ControllerGenerationController::getNameArea() const
{
    return { 0, 0, getWidth() - enableWidth, lineHeight };
}

void ControllerGenerationController::resized()
{
    enable.setBounds (getWidth() - enableWidth, 0, enableWidth, lineHeight);
    range.setBounds (0, rangeTop, getWidth() - valueWidth, lineHeight);
    density.setBounds (0, densityTop, getWidth() - valueWidth, lineHeight);
}

void ControllerGenerationController::paint (juce::Graphics& g)
{
    g.setFont (tarn::themeFont (*this));
    g.setColour (tarn::themeColour (*this, "text.text"));
    g.drawFittedText (name, getNameArea(), juce::Justification::centredLeft, 1, 0.75f);

    paintValue (g, "Range", getRangeText(), rangeTop);
    paintValue (g, "Density", getDensityText(), densityTop);
}

void ControllerGenerationController::paintValue (juce::Graphics& g, const juce::String& caption, const juce::String& value, int top)
{
    // The value at the right end; its caption before it, where the value leaves room.
    const juce::Rectangle<int> area (getWidth() - valueWidth, top, valueWidth, lineHeight);
    const auto font = g.getCurrentFont();
    const auto valueSpace = (int) std::ceil (font.getStringWidthFloat (value));
    const auto captionSpace = (int) std::ceil (font.getStringWidthFloat (caption));
    const auto gap = 6;

    if (captionSpace + gap + valueSpace <= area.getWidth() - gap)
    {
        g.setColour (tarn::themeColour (*this, "text.text"));
        g.drawText (caption, area.withTrimmedLeft (gap).withWidth (captionSpace), juce::Justification::centredLeft, false);
    }

    g.setColour (tarn::themeColour (*this, "text.disabledtext"));
    g.drawFittedText (value, area, juce::Justification::centredRight, 1, 0.75f);
}

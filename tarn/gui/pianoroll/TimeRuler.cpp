#include "TimeRuler.h"

#include "PianoRollTheme.h"

#include <tarn/sequence/Sequence.h>

namespace tarn
{
namespace
{
    constexpr double smallestNumberSpacing = 28.0;
    constexpr double zoomPerPixel = 1.01;
} // namespace

TimeRuler::TimeRuler (PianoRollView& viewToUse)
    : view (viewToUse)
{
    setComponentID ("time_ruler");
    setWantsKeyboardFocus (false); // the host keeps the keyboard
    setMouseClickGrabsKeyboardFocus (false);
    setTooltip ("Timeline: Drag sideways to scroll, up or down to zoom. Double click to show the whole phrase");
    view.addListener (this);
}

TimeRuler::~TimeRuler()
{
    view.removeListener (this);
}

void TimeRuler::setTimeSignature (int numerator, int denominator)
{
    const auto bar = std::max (1, Ticks::perBar (numerator, denominator));
    const auto beat = std::max (1, Ticks::perWhole / std::max (1, denominator));

    if (bar == barLength && beat == beatLength)
        return;

    barLength = bar;
    beatLength = beat;
    repaint();
}

void TimeRuler::setPlayhead (double tick)
{
    if (tick == playhead)
        return;

    const auto& axis = view.getTimeAxis();

    if (playhead >= 0.0)
        repaint ((int) axis.xOf (playhead) - 4, 0, 9, getHeight());

    playhead = tick;

    if (playhead >= 0.0)
        repaint ((int) axis.xOf (playhead) - 4, 0, 9, getHeight());
}

void TimeRuler::paint (juce::Graphics& g)
{
    g.fillAll (themeColour (*this, "background.panel"));

    const auto& axis = view.getTimeAxis();
    const auto length = view.getPhraseLength();
    const auto pixelsPerBar = barLength * axis.pixelsPerTick();
    const auto every = std::max (1, (int) std::ceil (smallestNumberSpacing / std::max (1.0e-6, pixelsPerBar)));

    g.setFont (themeFont (*this, PianoRollText::smallest));

    // Beats get numbers of their own when there is room: "1.2", "1.3".
    if (beatLength * axis.pixelsPerTick() >= smallestNumberSpacing * 1.2 && beatLength < barLength)
    {
        const auto firstBeat = std::max (0, (int) (axis.firstTick / beatLength));
        const auto lastTick = std::min ((double) length, axis.firstTick + axis.visibleTicks);

        for (auto beat = firstBeat; beat * (double) beatLength < lastTick; ++beat)
        {
            const auto tick = beat * beatLength;

            if (tick % barLength == 0)
                continue;

            const auto x = (float) axis.xOf (tick);
            g.setColour (themeColour (*this, "text.disabledtext"));
            g.fillRect (x, (float) getHeight() * 0.7f, 1.0f, (float) getHeight() * 0.3f);
            g.drawText (juce::String (tick / barLength + 1) + "." + juce::String (tick % barLength / beatLength + 1),
                        juce::Rectangle<float> (x + 3.0f, 0.0f, 40.0f, (float) getHeight()), juce::Justification::centredLeft);
        }
    }

    for (int bar = std::max (0, (int) (axis.firstTick / barLength)); bar * (double) barLength <= std::min ((double) length, axis.firstTick + axis.visibleTicks); ++bar)
    {
        const auto x = (float) axis.xOf (bar * (double) barLength);
        g.setColour (themeColour (*this, "text.text").withAlpha (0.3f));
        g.fillRect (x, (float) getHeight() * 0.5f, 1.0f, (float) getHeight() * 0.5f);

        if (bar % every == 0)
        {
            g.setColour (themeColour (*this, "text.text"));
            g.drawText (juce::String (bar + 1), juce::Rectangle<float> (x + 3.0f, 0.0f, 40.0f, (float) getHeight()), juce::Justification::centredLeft);
        }
    }

    // The phrase end, and the play head as a small marker.
    g.setColour (themeColour (*this, "theme.primary"));
    g.fillRect ((float) axis.xOf (length) - 1.0f, 0.0f, 2.0f, (float) getHeight());

    if (playhead >= 0.0)
    {
        const auto x = (float) axis.xOf (playhead);
        juce::Path marker;
        marker.addTriangle (x - 4.0f, 0.0f, x + 4.0f, 0.0f, x, 6.0f);
        g.setColour (themeColour (*this, "text.highlightedtext"));
        g.fillPath (marker);
    }
}

void TimeRuler::mouseDown (const juce::MouseEvent&)
{
    atDragStart = view.getTimeAxis();
}

void TimeRuler::mouseDrag (const juce::MouseEvent& e)
{
    const auto zoom = std::pow (zoomPerPixel, -(double) e.getDistanceFromDragStartY());
    const auto anchor = (double) e.getMouseDownX();
    const auto anchorTick = atDragStart.tickAt (anchor);
    view.zoomTo (atDragStart.visibleTicks * zoom, anchor);

    // The tick that was under the press follows the pointer sideways.
    const auto& axis = view.getTimeAxis();
    view.scrollTimeTo (anchorTick - (double) e.position.x / std::max (1, axis.width) * axis.visibleTicks);
}

void TimeRuler::mouseDoubleClick (const juce::MouseEvent&)
{
    view.showWholePhrase();
}

void TimeRuler::mouseWheelMove (const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel)
{
    view.zoomBy (std::pow (0.8, (double) wheel.deltaY * 4.0), e.position.x);
}

} // namespace tarn

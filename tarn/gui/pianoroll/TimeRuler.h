#pragma once

#include "PianoRollView.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace tarn
{

/** The bar numbers above the grid. Dragging in it scrolls sideways and zooms (down zooms in),
    a double-click shows the whole phrase, the wheel zooms. [message thread] */
class TimeRuler : public juce::Component
    , public juce::SettableTooltipClient
    , private PianoRollView::Listener
{
public:
    explicit TimeRuler (PianoRollView& view);
    ~TimeRuler() override;

    /** The phrase's time signature, for the bar and beat numbers. */
    void setTimeSignature (int numerator, int denominator);

    void setPlayhead (double tick);

    void paint (juce::Graphics&) override;
    void mouseDown (const juce::MouseEvent&) override;
    void mouseDrag (const juce::MouseEvent&) override;
    void mouseDoubleClick (const juce::MouseEvent&) override;
    void mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails&) override;

private:
    void timeAxisChanged() override { repaint(); }

    PianoRollView& view;
    int barLength = 3840, beatLength = 960;
    double playhead = -1.0;
    TimeAxis atDragStart;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TimeRuler)
};

} // namespace tarn

#pragma once

#include "PianoRollView.h"

#include <tarn/sequence/notegrid/CurveBend.h>
#include <tarn/sequence/notegrid/CurveEditing.h>
#include <tarn/sequence/notegrid/PhraseDocument.h>

#include <juce_gui_basics/juce_gui_basics.h>

#include <optional>

namespace tarn
{

/** The curve of one controller lane of the edited phrase, under the grid on the same time
    axis, drawn exactly as playback samples it.

    Cursor: a click creates a point, a point drags, and with the command key (CMD, or ALT)
    held a drag on a line bends the segment that ends at the next point. Pencil and Steps
    draw points along a drag. Right-click on a point offers "Delete Node" and "Delete all".
    Each gesture is one undoable step, committed when the button comes up.

    All members: [message thread].
*/
class CurveEditor : public juce::Component
    , public juce::SettableTooltipClient
    , private PhraseDocument::Listener
    , private PianoRollView::Listener
{
public:
    enum class Tool
    {
        cursor,
        pencil,
        steps
    };

    enum MenuCommand
    {
        deleteNode = 1,
        deleteAll = 2
    };

    CurveEditor (PhraseDocument& document, PianoRollView& view);
    ~CurveEditor() override;

    /** Which lane of the phrase it shows (an index into its lanes). */
    void setLane (int laneIndex);
    int getLane() const noexcept { return lane; }

    void setTool (Tool);
    Tool getTool() const noexcept { return tool; }

    /** The grid new points snap to (unless Shift is held) and the Steps tool draws in. */
    void setGrid (const GridSize& newGrid) { grid = newGrid; }

    juce::PopupMenu createPointMenu (int point) const;
    void performPointCommand (int command, int point);

    /** The point under a position, or −1. */
    int findPointAt (juce::Point<float>) const;
    juce::Point<float> getPointPosition (const ControllerPoint&) const;

    void paint (juce::Graphics&) override;
    void mouseMove (const juce::MouseEvent&) override;
    void mouseDown (const juce::MouseEvent&) override;
    void mouseDrag (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;

private:
    void phraseChanged (const Sequence&) override { repaint(); }
    void phraseReplaced() override;
    void timeAxisChanged() override { repaint(); }

    const ControllerLane* shownLane() const noexcept;
    double tickAt (float x) const noexcept;
    int valueAt (float y) const noexcept;
    float yOf (double value) const noexcept;
    int pointTick (const juce::MouseEvent&) const noexcept;
    void showLane (const ControllerLane&);
    void updateTooltip();

    PhraseDocument& document;
    PianoRollView& view;
    int lane = 0;
    Tool tool = Tool::cursor;
    GridSize grid;

    // The gesture in progress, worked out from the lane as it was when it began.
    Sequence base;
    int draggedPoint = -1;
    std::optional<CurveBend> bend;
    std::optional<CurveStroke> stroke;
    juce::Point<float> pressedAt;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CurveEditor)
};

} // namespace tarn

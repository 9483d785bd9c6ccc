#pragma once

#include "ControllerLaneButton.h"
#include "CurveEditor.h"
#include "PianoRollTabButton.h"

#include <tarn/gui/widgets/IconButton.h>

#include "PianoRollTypes.h"

#include <tarn/sequence/SequenceEditing.h>

#include <functional>
#include <variant>

namespace tarn
{

/** The strip between the grid and the editor under it: the value editor's modes (Velocity,
    Chance, Transpose, Octave), one button per controller lane, a button that adds a lane,
    and the curve editor's tools while a lane is shown. [message thread] */
class ControllerLaneBar : public juce::Component
{
public:
    /** What the editor under the grid shows: a value mode or a lane (its index). */
    using Shown = std::variant<ValueEditorMode, int>;

    ControllerLaneBar();
    ~ControllerLaneBar() override;

    /** The lanes of the edited phrase, by their display names. */
    void setLaneNames (const juce::StringArray& names);

    void show (Shown);
    Shown getShown() const noexcept { return shown; }

    void setCurveTool (CurveEditor::Tool);

    std::function<void (Shown)> onShownChanged;
    std::function<void (int lane)> onLaneMenuRequested;
    std::function<void (int lane, const juce::String& name)> onLaneRenamed;
    std::function<void()> onAddLane;
    std::function<void (CurveEditor::Tool)> onCurveToolChosen;

    /** The button of a lane, to rename it in place. */
    ControllerLaneButton* getLaneButton (int lane) const noexcept;

    void resized() override;
    void paint (juce::Graphics&) override;

private:
    void choose (Shown);
    void updateToggles();

    Shown shown = ValueEditorMode::velocity;
    juce::OwnedArray<PianoRollTabButton> modeButtons;
    juce::OwnedArray<ControllerLaneButton> laneButtons;
    juce::StringArray laneNames;
    IconButton addLaneButton { "plus", "add_lane", "Add Controller: Add a controller lane to every phrase" };
    IconButton curveCursor { "arrowpointer", "curve_cursor_tool", PianoRollHelp::curveCursor };
    IconButton curvePencil { "pencil", "curve_pencil_tool", PianoRollHelp::curvePencil };
    IconButton curveSteps { "steps", "curve_steps_tool", PianoRollHelp::curveSteps };
    CurveEditor::Tool curveTool = CurveEditor::Tool::cursor;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ControllerLaneBar)
};

} // namespace tarn

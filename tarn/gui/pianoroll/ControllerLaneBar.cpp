#include "ControllerLaneBar.h"

#include "PianoRollTheme.h"
#include "PianoRollTypes.h"

namespace tarn
{
namespace
{
    constexpr int modeButtonWidth = 72, laneButtonWidth = 150, smallButtonWidth = 26, gap = 4;

    struct ModeInfo
    {
        ValueEditorMode mode;
        const char* text;
        const char* tooltip;
        const char* id;
    };

    constexpr ModeInfo modes[] = {
        { ValueEditorMode::velocity, "Velocity", "Velocity: Edit the velocity of each note", "velocity_mode" },
        { ValueEditorMode::chance, "Chance", "Chance: Edit the chance that each note plays", "chance_mode" },
        { ValueEditorMode::transpose, "Transpose", "Transpose: Edit the random transposition of each note", "transpose_mode" },
        { ValueEditorMode::octave, "Octave", "Octave: Edit the random octave shift of each note", "octave_mode" },
    };
} // namespace

ControllerLaneBar::ControllerLaneBar()
{
    for (const auto& info : modes)
    {
        auto* button = modeButtons.add (new PianoRollTabButton (info.text, info.tooltip, info.id));
        button->onClick = [this, mode = info.mode]
        { choose (mode); };
        addAndMakeVisible (button);
    }

    addLaneButton.onClick = [this]
    {
        if (onAddLane != nullptr)
            onAddLane();
    };
    addAndMakeVisible (addLaneButton);

    const std::pair<IconButton*, CurveEditor::Tool> tools[] = {
        { &curveCursor, CurveEditor::Tool::cursor }, { &curvePencil, CurveEditor::Tool::pencil }, { &curveSteps, CurveEditor::Tool::steps }
    };

    for (const auto& [button, tool] : tools)
    {
        button->onClick = [this, tool = tool]
        {
            setCurveTool (tool);

            if (onCurveToolChosen != nullptr)
                onCurveToolChosen (tool);
        };
        addChildComponent (button);
    }

    updateToggles();
}

ControllerLaneBar::~ControllerLaneBar() = default;

void ControllerLaneBar::setLaneNames (const juce::StringArray& names)
{
    if (names == laneNames)
        return;

    laneNames = names;
    laneButtons.clear();

    for (int i = 0; i < names.size(); ++i)
    {
        auto* button = laneButtons.add (new ControllerLaneButton (names[i]));
        button->setComponentID ("lane_" + juce::String (i));
        button->onClick = [this, i]
        { choose (i); };
        button->onMenuRequested = [this, i]
        {
            if (onLaneMenuRequested != nullptr)
                onLaneMenuRequested (i);
        };
        button->onRenamed = [this, i] (const juce::String& name)
        {
            if (onLaneRenamed != nullptr)
                onLaneRenamed (i, name);
        };
        addAndMakeVisible (button);
    }

    // A lane that went away: back to the velocities.
    if (const auto* lane = std::get_if<int> (&shown); lane != nullptr && *lane >= names.size())
        choose (ValueEditorMode::velocity);

    updateToggles();
    resized();
}

ControllerLaneButton* ControllerLaneBar::getLaneButton (int lane) const noexcept
{
    return laneButtons[lane];
}

void ControllerLaneBar::show (Shown newShown)
{
    shown = newShown;
    updateToggles();
    resized();
}

void ControllerLaneBar::choose (Shown newShown)
{
    show (newShown);

    if (onShownChanged != nullptr)
        onShownChanged (shown);
}

void ControllerLaneBar::setCurveTool (CurveEditor::Tool tool)
{
    curveTool = tool;
    updateToggles();
}

void ControllerLaneBar::updateToggles()
{
    const auto* mode = std::get_if<ValueEditorMode> (&shown);
    const auto* lane = std::get_if<int> (&shown);

    for (int i = 0; i < modeButtons.size(); ++i)
        modeButtons[i]->setToggleState (mode != nullptr && *mode == modes[i].mode, juce::dontSendNotification);

    for (int i = 0; i < laneButtons.size(); ++i)
        laneButtons[i]->setToggleState (lane != nullptr && *lane == i, juce::dontSendNotification);

    curveCursor.setToggleState (curveTool == CurveEditor::Tool::cursor, juce::dontSendNotification);
    curvePencil.setToggleState (curveTool == CurveEditor::Tool::pencil, juce::dontSendNotification);
    curveSteps.setToggleState (curveTool == CurveEditor::Tool::steps, juce::dontSendNotification);

    for (auto* button : { &curveCursor, &curvePencil, &curveSteps })
        button->setVisible (lane != nullptr);
}

void ControllerLaneBar::paint (juce::Graphics& g)
{
    g.fillAll (themeColour (*this, "background.background"));
}

void ControllerLaneBar::resized()
{
    auto bounds = getLocalBounds().reduced (0, 2);

    for (auto* button : { &curveSteps, &curvePencil, &curveCursor })
    {
        button->setBounds (bounds.removeFromRight (smallButtonWidth));
        bounds.removeFromRight (2);
    }

    for (auto* button : modeButtons)
    {
        button->setBounds (bounds.removeFromLeft (modeButtonWidth));
        bounds.removeFromLeft (2);
    }

    bounds.removeFromLeft (gap * 3);

    // Lanes share what is left when they do not fit at their width.
    const auto room = bounds.getWidth() - smallButtonWidth - gap;
    const auto width = laneButtons.isEmpty() ? 0 : juce::jlimit (40, laneButtonWidth, room / laneButtons.size() - 2);

    for (auto* button : laneButtons)
    {
        button->setBounds (bounds.removeFromLeft (width));
        bounds.removeFromLeft (2);
    }

    addLaneButton.setBounds (bounds.removeFromLeft (smallButtonWidth));
}

} // namespace tarn

#include "CurveEditor.h"

#include <tarn/gui/overlays/PopupMenus.h>
#include "PianoRollMetrics.h"
#include "PianoRollTheme.h"
#include "PianoRollTypes.h"

#include <tarn/sequence/ControllerLaneRenderer.h>

namespace tarn
{
namespace
{
    PopupKind curvePointMenuKind { "controller curve menu" };
} // namespace

namespace
{
    constexpr float pointSize = 7.0f;
    constexpr double freehandSpacingPixels = 6.0;

    bool wantsBend (const juce::ModifierKeys& mods) noexcept
    {
        return mods.isAltDown() || mods.isCommandDown();
    }
} // namespace

CurveEditor::CurveEditor (PhraseDocument& documentToUse, PianoRollView& viewToUse)
    : document (documentToUse)
    , view (viewToUse)
{
    setComponentID ("curve_editor");
    setWantsKeyboardFocus (false); // the host keeps the keyboard
    setMouseClickGrabsKeyboardFocus (false);
    setOpaque (true);
    updateTooltip();
    document.addListener (this);
    view.addListener (this);
}

CurveEditor::~CurveEditor()
{
    view.removeListener (this);
    document.removeListener (this);
}

void CurveEditor::setLane (int laneIndex)
{
    lane = laneIndex;
    repaint();
}

void CurveEditor::setTool (Tool newTool)
{
    tool = newTool;
    updateTooltip();
}

void CurveEditor::updateTooltip()
{
    setTooltip (tool == Tool::cursor ? PianoRollHelp::curveEditor
                : tool == Tool::pencil ? PianoRollHelp::curvePencilEditor
                                       : PianoRollHelp::curveStepsEditor);
}

const ControllerLane* CurveEditor::shownLane() const noexcept
{
    const auto& lanes = document.getPhrase().lanes;
    return lane >= 0 && lane < (int) lanes.size() ? &lanes[(size_t) lane] : nullptr;
}

double CurveEditor::tickAt (float x) const noexcept
{
    return view.getTimeAxis().tickAt (x);
}

float CurveEditor::yOf (double value) const noexcept
{
    const auto* shown = shownLane();
    const auto lowest = shown != nullptr ? CurveEditing::lowestValue (*shown) : 0;
    const auto highest = shown != nullptr ? CurveEditing::highestValue (*shown) : 127;
    const auto inset = pointSize * 0.5f;
    const auto proportion = (value - lowest) / std::max (1, highest - lowest);
    return inset + (float) ((1.0 - proportion) * ((double) getHeight() - (double) pointSize));
}

int CurveEditor::valueAt (float y) const noexcept
{
    const auto* shown = shownLane();
    const auto lowest = shown != nullptr ? CurveEditing::lowestValue (*shown) : 0;
    const auto highest = shown != nullptr ? CurveEditing::highestValue (*shown) : 127;
    const auto inset = pointSize * 0.5f;
    const auto proportion = 1.0 - juce::jlimit (0.0, 1.0, (double) (y - inset) / (double) std::max (1.0f, (float) getHeight() - pointSize));
    return juce::roundToInt (lowest + proportion * (highest - lowest));
}

int CurveEditor::pointTick (const juce::MouseEvent& e) const noexcept
{
    return GridTicks::pointerTick (tickAt (e.position.x), ! e.mods.isShiftDown(), grid, document.getPhrase().getLength());
}

juce::Point<float> CurveEditor::getPointPosition (const ControllerPoint& point) const
{
    return { (float) view.getTimeAxis().xOf (point.timestamp), yOf (point.value) };
}

int CurveEditor::findPointAt (juce::Point<float> position) const
{
    const auto* shown = shownLane();

    if (shown == nullptr)
        return -1;

    for (auto i = (int) shown->points.size(); --i >= 0;)
        if (getPointPosition (shown->points[(size_t) i]).getDistanceFrom (position) <= (float) PianoRollMetrics::pointGrabPixels)
            return i;

    return -1;
}

void CurveEditor::showLane (const ControllerLane& changed)
{
    auto preview = base;
    preview.lanes[(size_t) lane] = changed;
    document.showPreview (preview, document.getSelection());
}

//==============================================================================
juce::PopupMenu CurveEditor::createPointMenu (int point) const
{
    const auto* shown = shownLane();
    juce::PopupMenu menu;
    menu.addItem (deleteNode, "Delete Node", point >= 0);
    menu.addItem (deleteAll, "Delete all", shown != nullptr && ! shown->points.empty());
    return menu;
}

void CurveEditor::performPointCommand (int command, int point)
{
    const auto* shown = shownLane();

    if (shown == nullptr)
        return;

    auto changed = document.getCommittedPhrase();
    auto& target = changed.lanes[(size_t) lane];

    if (command == deleteNode)
        target = CurveEditing::withoutPoint (target, point);
    else if (command == deleteAll)
        target = CurveEditing::withoutPoints (target);

    changed.normalise();
    document.commit (changed, document.getSelection());
}

//==============================================================================
void CurveEditor::paint (juce::Graphics& g)
{
    g.fillAll (themeColour (*this, "background.panel"));
    const auto* shown = shownLane();

    if (shown == nullptr)
    {
        g.setColour (themeColour (*this, "text.disabledtext"));
        g.setFont (themeFont (*this, PianoRollText::small));
        g.drawText ("No controller lane", getLocalBounds(), juce::Justification::centred);
        return;
    }

    const auto& axis = view.getTimeAxis();
    const auto length = document.getPhrase().getLength();
    const auto centre = shown->type == ControllerLane::pitchBend ? 0 : 64;

    g.setColour (themeColour (*this, "text.text").withAlpha (0.12f));
    g.fillRect (0.0f, yOf (centre), (float) getWidth(), 1.0f);

    g.setFont (themeFont (*this, PianoRollText::smallest));
    g.setColour (themeColour (*this, "text.disabledtext"));
    g.drawText (shown->getDisplayName(), getLocalBounds().reduced (4, 2), juce::Justification::topRight);

    if (shown->points.empty())
        return;

    // The curve as playback samples it, then the last value held to the phrase end.
    auto path = buildControllerCurve (shown->points);
    const auto& last = shown->points.back();
    path.lineTo ((float) std::max (last.timestamp, length), (float) last.value);

    const auto* lowestLane = shown;
    const auto lowest = (float) CurveEditing::lowestValue (*lowestLane), highest = (float) CurveEditing::highestValue (*lowestLane);
    const auto inset = pointSize * 0.5f;
    const auto scaleY = -((float) getHeight() - pointSize) / std::max (1.0f, highest - lowest);
    const auto transform = juce::AffineTransform::translation ((float) -axis.firstTick, -lowest)
                               .scaled ((float) axis.pixelsPerTick(), scaleY)
                               .translated (0.0f, inset + (float) getHeight() - pointSize);
    path.applyTransform (transform);

    // Pitch bend fills towards no bend, a control change towards 0.
    const auto colour = themeColour (*this, "theme.primary");
    const auto fillTo = yOf (shown->type == ControllerLane::pitchBend ? centre : CurveEditing::lowestValue (*shown));
    juce::Path fill (path);
    fill.lineTo (path.getCurrentPosition().x, fillTo);
    fill.lineTo ((float) axis.xOf (0), fillTo);
    fill.closeSubPath();
    g.setColour (colour.withAlpha (0.15f));
    g.fillPath (fill);

    g.setColour (colour);
    g.strokePath (path, juce::PathStrokeType (1.5f));

    for (size_t i = 0; i < shown->points.size(); ++i)
    {
        const auto position = getPointPosition (shown->points[i]);
        g.setColour ((int) i == draggedPoint ? themeColour (*this, "theme.selection") : themeColour (*this, "text.textOnTheme"));
        g.fillEllipse (juce::Rectangle<float> (pointSize, pointSize).withCentre (position));
    }
}

//==============================================================================
void CurveEditor::mouseMove (const juce::MouseEvent& e)
{
    const auto onPoint = findPointAt (e.position) >= 0;
    setMouseCursor (onPoint || tool != Tool::cursor ? juce::MouseCursor::CrosshairCursor : juce::MouseCursor::NormalCursor);
}

void CurveEditor::mouseDown (const juce::MouseEvent& e)
{
    draggedPoint = -1;
    bend.reset();
    stroke.reset();

    const auto* shown = shownLane();

    if (shown == nullptr)
        return;

    const auto point = findPointAt (e.position);

    if (e.mods.isPopupMenu())
    {
        showMenuAt (curvePointMenuKind, *this, createPointMenu (point), e.getScreenPosition(), [this, point] (int result)
                              { performPointCommand (result, point); });
        return;
    }

    base = document.getCommittedPhrase();
    pressedAt = e.position;
    const auto length = base.getLength();

    if (tool == Tool::cursor && wantsBend (e.mods))
    {
        draggedPoint = CurveEditing::segmentEndingAfter (*shown, tickAt (e.position.x));

        if (draggedPoint > 0)
            bend.emplace (shown->points[(size_t) draggedPoint].curve, CurveEditing::segmentRises (*shown, draggedPoint));
        else
            draggedPoint = -1;

        return;
    }

    if (point >= 0 && tool == Tool::cursor)
    {
        draggedPoint = point;
        repaint();
        return;
    }

    if (tool == Tool::cursor || point >= 0)
    {
        // A click makes a point; dragging on moves it.
        showLane (CurveEditing::withPoint (*shown, pointTick (e), valueAt (e.position.y), length, &draggedPoint));
        return;
    }

    const auto spacing = tool == Tool::steps ? grid.ticks
                                             : std::max (std::max (1, grid.ticks / 4), juce::roundToInt (freehandSpacingPixels / view.getTimeAxis().pixelsPerTick()));
    stroke.emplace (*shown, tool == Tool::steps ? CurveStroke::Style::steps : CurveStroke::Style::freehand, spacing, length);
    showLane (stroke->addSample (tickAt (e.position.x), valueAt (e.position.y)));
}

void CurveEditor::mouseDrag (const juce::MouseEvent& e)
{
    const auto* original = lane < (int) base.lanes.size() ? &base.lanes[(size_t) lane] : nullptr;

    if (original == nullptr)
        return;

    if (bend)
    {
        if (const auto result = bend->update (e.position.x - pressedAt.x, e.position.y - pressedAt.y))
        {
            auto changed = *original;
            changed.points[(size_t) draggedPoint].shape = result->shape;
            changed.points[(size_t) draggedPoint].curve = result->curve;
            showLane (changed);
        }

        return;
    }

    if (stroke)
        return showLane (stroke->addSample (tickAt (e.position.x), valueAt (e.position.y)));

    if (draggedPoint >= 0)
    {
        // A point made by this click is already in the preview: move that one.
        const auto& shown = *shownLane();
        showLane (CurveEditing::withPointMoved (shown, draggedPoint, pointTick (e), valueAt (e.position.y), base.getLength()));
    }
}

void CurveEditor::phraseReplaced()
{
    draggedPoint = -1;
    bend.reset();
    stroke.reset();
}

void CurveEditor::mouseUp (const juce::MouseEvent&)
{
    if (document.isPreviewing())
    {
        const auto shown = document.getPhrase();
        document.commit (shown, document.getSelection());
    }

    draggedPoint = -1;
    bend.reset();
    stroke.reset();
    repaint();
}

} // namespace tarn

#include "VelocityEditor.h"

#include <tarn/gui/overlays/PopupMenus.h>
#include "PianoRollTheme.h"

#include <tarn/gui/NoteGridMenuCommands.h>

namespace tarn
{
namespace
{
    PopupKind velocityMenuKind { "velocity menu" };
} // namespace

namespace
{
    constexpr float barWidth = 3.0f, knobSize = 7.0f, grabDistance = 5.0f;

    const char* modeName (ValueEditorMode mode) noexcept
    {
        switch (mode)
        {
            case ValueEditorMode::velocity: return "Velocity";
            case ValueEditorMode::chance: return "Chance";
            case ValueEditorMode::transpose: return "Transpose";
            case ValueEditorMode::octave: return "Octave";
        }

        return "";
    }
} // namespace

VelocityEditor::VelocityEditor (PhraseDocument& documentToUse, PianoRollView& viewToUse)
    : document (documentToUse)
    , view (viewToUse)
{
    setComponentID ("value_editor");
    setWantsKeyboardFocus (false); // the host keeps the keyboard
    setMouseClickGrabsKeyboardFocus (false);
    setOpaque (true);
    updateTooltip();
    document.addListener (this);
    view.addListener (this);
}

VelocityEditor::~VelocityEditor()
{
    view.removeListener (this);
    document.removeListener (this);
}

void VelocityEditor::updateTooltip()
{
    setTooltip (juce::String (modeName (mode)) + ": Drag a note's bar to set its value. Hold shift and drag to draw across notes. Right click for more options");
}

void VelocityEditor::setMode (ValueEditorMode newMode)
{
    if (newMode == mode)
        return;

    mode = newMode;
    updateTooltip();
    repaint();
}

void VelocityEditor::setRangeMode (ValueEditorMode modeToSet, bool isOn)
{
    if (! SequenceEditing::modeHasRange (modeToSet) || rangeModes[(size_t) modeToSet] == isOn)
        return;

    rangeModes[(size_t) modeToSet] = isOn;
    repaint();
}

bool VelocityEditor::isRangeMode (ValueEditorMode modeToAsk) const noexcept
{
    return SequenceEditing::modeHasRange (modeToAsk) && rangeModes[(size_t) modeToAsk];
}

void VelocityEditor::chooseRangeMode (bool shouldBeOn)
{
    if (! SequenceEditing::modeHasRange (mode))
        return;

    if (rangeModeNow() == shouldBeOn)
    {
        juce::Logger::writeToLog ("VelocityEditor::setSliderRangeMode - ignoring as no change");
        return;
    }

    const auto edit = SequenceEditing::setRangeMode (document.getCommittedPhrase(), document.getSelection(), mode, rangeModeNow(), shouldBeOn);
    setRangeMode (mode, shouldBeOn);
    document.commit (edit);

    if (onRangeModeChanged != nullptr)
        onRangeModeChanged (mode, shouldBeOn);
}

juce::PopupMenu VelocityEditor::createMenu() const
{
    juce::PopupMenu menu;
    menu.addItem (ValueEditorCommand::resetAll, "Reset all", ! document.getPhrase().notes.empty());

    if (SequenceEditing::modeHasRange (mode))
        menu.addItem (ValueEditorCommand::rangeMode, "Range mode", true, rangeModeNow());

    return menu;
}

void VelocityEditor::performMenuCommand (int command)
{
    if (command == ValueEditorCommand::resetAll)
        document.commit (SequenceEditing::resetAllValues (document.getCommittedPhrase(), document.getSelection(), mode));
    else if (command == ValueEditorCommand::rangeMode)
        chooseRangeMode (! rangeModeNow());
}

//==============================================================================
float VelocityEditor::xOfNote (const SequenceNote& note) const
{
    return (float) view.getTimeAxis().xOf (note.timestamp) + barWidth;
}

float VelocityEditor::yOfValue (int value) const
{
    const auto inset = knobSize * 0.5f;
    return inset + (float) ValueEditing::yOf (mode, value, getHeight() - knobSize);
}

int VelocityEditor::valueAt (float y) const noexcept
{
    const auto inset = knobSize * 0.5f;
    return ValueEditing::valueAt (mode, y - inset, getHeight() - knobSize);
}

int VelocityEditor::findNoteAt (juce::Point<float> point) const
{
    const auto& notes = document.getPhrase().notes;
    const auto& selection = document.getSelection();
    int best = -1;
    auto bestScore = std::numeric_limits<float>::max();

    for (size_t i = 0; i < notes.size(); ++i)
    {
        const auto dx = std::abs (xOfNote (notes[i]) - point.x);

        if (dx > grabDistance)
            continue;

        // Of stacked bars (a chord), a selected one first, then the one whose value is nearest.
        const auto [lowest, highest] = ValueEditing::rangeOf (notes[i], mode);
        const auto dy = std::min (std::abs (yOfValue (lowest) - point.y), std::abs (yOfValue (highest) - point.y));
        const auto score = dy + dx + (selection.contains ((int) i) ? 0.0f : (float) getHeight());

        if (score < bestScore)
        {
            bestScore = score;
            best = (int) i;
        }
    }

    return best;
}

//==============================================================================
void VelocityEditor::paint (juce::Graphics& g)
{
    g.fillAll (themeColour (*this, "background.panel"));

    const auto bounds = getLocalBounds().toFloat();
    const auto bounded = ValueEditing::boundsOf (mode);
    const auto centred = bounded.lowest < 0;
    const auto baseline = yOfValue (centred ? 0 : bounded.lowest);

    g.setColour (themeColour (*this, "text.text").withAlpha (0.08f));

    for (auto proportion : { 0.25f, 0.5f, 0.75f })
        g.fillRect (0.0f, bounds.getHeight() * proportion, bounds.getWidth(), 1.0f);

    if (centred)
    {
        g.setColour (themeColour (*this, "text.text").withAlpha (0.2f));
        g.fillRect (0.0f, baseline, bounds.getWidth(), 1.0f);
    }

    g.setFont (themeFont (*this, PianoRollText::smallest));
    g.setColour (themeColour (*this, "text.disabledtext"));
    g.drawText (juce::String (modeName (mode)) + (rangeModeNow() ? " (range)" : ""), bounds.reduced (4.0f, 2.0f), juce::Justification::topRight);

    const auto& notes = document.getPhrase().notes;
    const auto& selection = document.getSelection();
    const auto clip = g.getClipBounds().toFloat().expanded (knobSize);

    // Selected bars last, so they sit on top of the chord they belong to.
    for (auto pass : { false, true })
    {
        const auto colour = themeColour (*this, pass ? "theme.selection" : "theme.primary");

        for (size_t i = 0; i < notes.size(); ++i)
        {
            if (selection.contains ((int) i) != pass)
                continue;

            const auto x = xOfNote (notes[i]);

            if (x < clip.getX() || x > clip.getRight())
                continue;

            const auto [lowest, highest] = ValueEditing::rangeOf (notes[i], mode);
            const auto top = yOfValue (highest), bottom = yOfValue (lowest);

            g.setColour (colour.withAlpha (0.5f));
            g.fillRect (juce::Rectangle<float>::leftTopRightBottom (x - barWidth * 0.5f, std::min (top, baseline), x + barWidth * 0.5f, std::max (bottom, baseline)));

            g.setColour (colour);

            if (rangeModeNow() && lowest != highest)
                g.fillRect (juce::Rectangle<float>::leftTopRightBottom (x - barWidth * 0.5f, top, x + barWidth * 0.5f, bottom));

            g.fillEllipse (juce::Rectangle<float> (knobSize, knobSize).withCentre ({ x, top }));

            if (rangeModeNow() && lowest != highest)
                g.fillEllipse (juce::Rectangle<float> (knobSize, knobSize).withCentre ({ x, bottom }));
        }
    }
}

//==============================================================================
void VelocityEditor::mouseDown (const juce::MouseEvent& e)
{
    dragging = drawing = false;
    dragged.clear();
    drawn.clear();

    if (e.mods.isPopupMenu())
    {
        showMenuAt (velocityMenuKind, *this, createMenu(), e.getScreenPosition(), [this] (int result)
                              { performMenuCommand (result); });
        return;
    }

    base = document.getCommittedPhrase();
    lastPoint = e.position;

    if (e.mods.isShiftDown())
    {
        drawing = true;
        drawAlong (e.position, e.position);
        return;
    }

    const auto note = findNoteAt (e.position);

    if (note < 0)
        return;

    const auto& selection = document.getSelection();
    dragged = selection.contains (note) ? selection.getPositions() : std::vector<int> { note };
    draggedEnd = ValueEditing::endNearest (base.notes[(size_t) note], mode, rangeModeNow(), valueAt (e.position.y));
    dragging = true;
    mouseDrag (e);
}

void VelocityEditor::drawAlong (juce::Point<float> from, juce::Point<float> to)
{
    const auto left = std::min (from.x, to.x) - grabDistance, right = std::max (from.x, to.x) + grabDistance;

    for (size_t i = 0; i < base.notes.size(); ++i)
    {
        const auto x = xOfNote (base.notes[i]);

        if (x < left || x > right)
            continue;

        const auto proportion = std::abs (to.x - from.x) < 1.0f ? 1.0f : juce::jlimit (0.0f, 1.0f, (x - from.x) / (to.x - from.x));
        drawn[(int) i] = valueAt (from.y + proportion * (to.y - from.y));
    }

    auto preview = base;

    for (const auto& [position, value] : drawn)
    {
        auto& note = preview.notes[(size_t) position];
        ValueEditing::setValue (note, mode, ValueEditing::endNearest (note, mode, rangeModeNow(), value), value);
    }

    document.showPreview (preview, document.getSelection());
}

void VelocityEditor::mouseDrag (const juce::MouseEvent& e)
{
    if (drawing)
    {
        drawAlong (lastPoint, e.position);
        lastPoint = e.position;
        return;
    }

    if (! dragging)
        return;

    std::vector<std::pair<int, int>> values;
    const auto value = valueAt (e.position.y);

    for (auto position : dragged)
        values.emplace_back (position, value);

    const auto edit = ValueEditing::withValues (base, document.getSelection(), mode, draggedEnd, values);
    document.showPreview (edit.sequence, edit.selection);
}

void VelocityEditor::mouseUp (const juce::MouseEvent&)
{
    if (dragging || drawing)
    {
        const auto shown = document.getPhrase();
        document.commit (shown, document.getSelection());
    }

    dragging = drawing = false;
    dragged.clear();
    drawn.clear();
}

} // namespace tarn

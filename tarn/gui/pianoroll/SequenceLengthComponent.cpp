#include "SequenceLengthComponent.h"

#include "PianoRollTheme.h"
#include "PianoRollTypes.h"

namespace tarn
{
namespace
{
    constexpr float pixelsPerStep = 6.0f;
    constexpr int numFields = 3;
} // namespace

SequenceLengthComponent::SequenceLengthComponent()
{
    setComponentID ("length_box");
    setWantsKeyboardFocus (false); // the host keeps the keyboard
    setMouseClickGrabsKeyboardFocus (false);
    setTooltip (PianoRollHelp::length);
    setMouseCursor (juce::MouseCursor::UpDownResizeCursor);
}

SequenceLengthComponent::~SequenceLengthComponent() = default;

void SequenceLengthComponent::setLength (int newTicks, int newNumerator, int newDenominator)
{
    ticks = newTicks;
    numerator = newNumerator;
    denominator = newDenominator;
    shown = BarsBeatsSixteenths::fromTicks (ticks, numerator, denominator);
    repaint();
}

int SequenceLengthComponent::ticksOf (const BarsBeatsSixteenths& length) const noexcept
{
    return length.toTicks (numerator, denominator);
}

juce::Rectangle<float> SequenceLengthComponent::fieldBounds (int field) const
{
    const auto width = (float) getWidth() / numFields;
    return getLocalBounds().toFloat().withX (width * field).withWidth (width);
}

int SequenceLengthComponent::fieldAt (float x) const noexcept
{
    return juce::jlimit (0, numFields - 1, (int) (x / std::max (1.0f, (float) getWidth() / numFields)));
}

void SequenceLengthComponent::paint (juce::Graphics& g)
{
    const auto bounds = getLocalBounds().toFloat();
    const auto corner = themeMetric (*this, "cornerRadius", 2.5f);
    g.setColour (themeColour (*this, "elements.element"));
    g.fillRoundedRectangle (bounds, corner);
    g.setColour (themeColour (*this, "elements.outline"));
    g.drawRoundedRectangle (bounds.reduced (0.5f), corner, 1.0f);

    if (editor != nullptr)
        return;

    g.setFont (themeFont (*this, PianoRollText::normal));
    const int values[numFields] = { shown.bars, shown.beats, shown.sixteenths };

    for (int field = 0; field < numFields; ++field)
    {
        g.setColour (themeColour (*this, field == draggedField ? "theme.primary" : "text.text"));
        g.drawText (juce::String (values[field]), fieldBounds (field), juce::Justification::centred);

        if (field > 0)
        {
            g.setColour (themeColour (*this, "text.disabledtext"));
            g.drawText (".", fieldBounds (field).withWidth (6.0f).translated (-3.0f, 0.0f), juce::Justification::centred);
        }
    }
}

void SequenceLengthComponent::resized()
{
    if (editor != nullptr)
        editor->setBounds (getLocalBounds());
}

void SequenceLengthComponent::mouseDown (const juce::MouseEvent& e)
{
    draggedField = fieldAt (e.position.x);
    atDragStart = shown;
    dragChanged = false;
    repaint();
}

void SequenceLengthComponent::mouseDrag (const juce::MouseEvent& e)
{
    if (draggedField < 0)
        return;

    const auto steps = juce::roundToInt ((float) -e.getDistanceFromDragStartY() / pixelsPerStep);
    auto length = atDragStart;
    (draggedField == 0 ? length.bars : draggedField == 1 ? length.beats : length.sixteenths) += steps;
    length = length.normalised (numerator);

    // Never below one sixteenth: a phrase of no length plays nothing.
    if (length == BarsBeatsSixteenths { 0, 0, 0 })
        length.sixteenths = 1;

    if (length == shown)
        return;

    shown = length;
    dragChanged = true;
    repaint();

    if (onLengthPreview != nullptr)
        onLengthPreview (ticksOf (shown));
}

void SequenceLengthComponent::mouseUp (const juce::MouseEvent&)
{
    draggedField = -1;
    repaint();

    if (dragChanged && onLengthChosen != nullptr)
        onLengthChosen (ticksOf (shown));

    dragChanged = false;
}

void SequenceLengthComponent::cancelGesture()
{
    // The rest of a drag, and its release, then find no field and choose nothing.
    draggedField = -1;
    dragChanged = false;
    finishEditing (false);
    repaint();
}

void SequenceLengthComponent::mouseDoubleClick (const juce::MouseEvent&)
{
    showEditor();
}

void SequenceLengthComponent::showEditor()
{
    if (editor != nullptr)
        return;

    editor = std::make_unique<juce::TextEditor>();
    editor->setComponentID ("length_box_text");
    editor->setJustification (juce::Justification::centred);
    editor->setFont (themeFont (*this, PianoRollText::normal));
    editor->setInputRestrictions (16, "0123456789.");
    editor->setText (shown.toString(), false);
    editor->selectAll();
    editor->onReturnKey = [this]
    { finishEditing (true); };
    editor->onEscapeKey = [this]
    { finishEditing (false); };
    editor->onFocusLost = [this]
    { finishEditing (true); };
    addAndMakeVisible (*editor);
    resized();
    editor->grabKeyboardFocus();
    repaint();
}

void SequenceLengthComponent::finishEditing (bool apply)
{
    if (editor == nullptr)
        return;

    const auto text = editor->getText();
    std::shared_ptr<juce::TextEditor> old (editor.release());
    old->onReturnKey = old->onEscapeKey = old->onFocusLost = nullptr;
    removeChildComponent (old.get());

    // Deleted after this call returns: the editor is the one calling.
    juce::MessageManager::callAsync ([old] {});
    repaint();

    const auto typed = BarsBeatsSixteenths::fromString (text);

    if (! apply || ! typed.has_value())
        return;

    const auto length = typed->normalised (numerator);

    if (length == BarsBeatsSixteenths { 0, 0, 0 })
        return;

    shown = length;

    if (onLengthChosen != nullptr)
        onLengthChosen (ticksOf (length));
}

} // namespace tarn

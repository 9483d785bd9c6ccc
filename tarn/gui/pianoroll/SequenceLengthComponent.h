#pragma once

#include <tarn/sequence/notegrid/PhraseLength.h>

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace tarn
{

/** The phrase length as Bars.Beats.Sixteenths. Dragging a number up or down changes it
    (carrying into the others); a double-click opens the text for typing.

    A drag previews every step and is chosen once, when the button comes up. All members:
    [message thread].
*/
class SequenceLengthComponent : public juce::Component
    , public juce::SettableTooltipClient
{
public:
    SequenceLengthComponent();
    ~SequenceLengthComponent() override;

    /** Shows a length of the phrase in its time signature. */
    void setLength (int ticks, int numerator, int denominator);
    const BarsBeatsSixteenths& getShownLength() const noexcept { return shown; }

    /** A drag step, and the length chosen at its end or typed. */
    std::function<void (int ticks)> onLengthPreview, onLengthChosen;

    /** Opens the text for typing, as a double-click does. */
    void showEditor();
    bool isEditing() const noexcept { return editor != nullptr; }

    /** Ends a drag or the typing without choosing anything (the phrase shown changed). */
    void cancelGesture();
    bool isDragging() const noexcept { return draggedField >= 0; }

    void paint (juce::Graphics&) override;
    void resized() override;
    void mouseDown (const juce::MouseEvent&) override;
    void mouseDrag (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;
    void mouseDoubleClick (const juce::MouseEvent&) override;

private:
    int fieldAt (float x) const noexcept;
    juce::Rectangle<float> fieldBounds (int field) const;
    void finishEditing (bool apply);
    int ticksOf (const BarsBeatsSixteenths&) const noexcept;

    BarsBeatsSixteenths shown;
    int numerator = 4, denominator = 4, ticks = 3840;

    int draggedField = -1;
    BarsBeatsSixteenths atDragStart;
    bool dragChanged = false;

    std::unique_ptr<juce::TextEditor> editor;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SequenceLengthComponent)
};

} // namespace tarn

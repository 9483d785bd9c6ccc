#pragma once

#include "PianoRollView.h"

#include <tarn/sequence/notegrid/PhraseDocument.h>
#include <tarn/sequence/notegrid/ValueEditing.h>

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <functional>
#include <map>

namespace tarn
{

/** The value editor under the grid: one bar per note, at the note's start, showing its
    velocity, chance, transpose or octave, as one value or (range mode) as a minimum and a
    maximum.

    Dragging a bar sets the value (of every selected note when the bar's note is selected);
    Shift-drag draws a line across the notes it passes. Each drag is one undoable step,
    committed when the button comes up. All members: [message thread].
*/
class VelocityEditor : public juce::Component
    , public juce::SettableTooltipClient
    , private PhraseDocument::Listener
    , private PianoRollView::Listener
{
public:
    VelocityEditor (PhraseDocument& document, PianoRollView& view);
    ~VelocityEditor() override;

    void setMode (ValueEditorMode);
    ValueEditorMode getMode() const noexcept { return mode; }

    /** The range mode the owner keeps for a mode (from "velocity_range", "transpose_range",
        "octave_range"); shows it without touching the notes. */
    void setRangeMode (ValueEditorMode, bool isOn);
    bool isRangeMode (ValueEditorMode) const noexcept;

    /** The menu's "Range mode" for the current mode: switching it off collapses every note's
        range to its minimum (one undo step); the owner hears the new state to store it. */
    void chooseRangeMode (bool shouldBeOn);
    std::function<void (ValueEditorMode, bool)> onRangeModeChanged;

    /** "Reset all" (101) and, in modes with a range, "Range mode" (201, ticked when on). */
    juce::PopupMenu createMenu() const;
    void performMenuCommand (int command);

    /** The note whose bar is at a point, or −1. */
    int findNoteAt (juce::Point<float>) const;

    /** The x and height of a note's bar ends. */
    float xOfNote (const SequenceNote&) const;
    float yOfValue (int value) const;

    void paint (juce::Graphics&) override;
    void mouseDown (const juce::MouseEvent&) override;
    void mouseDrag (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;

private:
    void phraseChanged (const Sequence&) override { repaint(); }
    void selectionChanged() override { repaint(); }
    void phraseReplaced() override { dragging = drawing = false; }
    void timeAxisChanged() override { repaint(); }

    bool rangeModeNow() const noexcept { return isRangeMode (mode); }
    int valueAt (float y) const noexcept;
    void updateTooltip();
    void drawAlong (juce::Point<float> from, juce::Point<float> to);

    PhraseDocument& document;
    PianoRollView& view;
    ValueEditorMode mode = ValueEditorMode::velocity;
    std::array<bool, 4> rangeModes {};

    // The drag in progress.
    Sequence base;
    std::vector<int> dragged; // the notes a plain drag sets
    ValueEditing::End draggedEnd = ValueEditing::End::both;
    std::map<int, int> drawn; // note → value, for a Shift-drag
    juce::Point<float> lastPoint;
    bool dragging = false, drawing = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VelocityEditor)
};

} // namespace tarn

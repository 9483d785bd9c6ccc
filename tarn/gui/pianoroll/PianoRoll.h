#pragma once

#include "ControllerLaneBar.h"
#include "CurveEditor.h"
#include "NoteEditor.h"
#include "PianoRollToolBar.h"
#include "TimeRuler.h"
#include "VelocityEditor.h"

namespace tarn
{

/** The piano roll: the tool bar with the phrase controls, the time ruler, the note grid
    with its scroll bars, and under it the value editor or a controller lane's curve editor.

    It edits a copy of one phrase. The owner feeds it (setPhrase, setRows, setPlayback, the
    view settings) and hears every change through its Listener: each gesture or command is
    one call of pianoRollPhraseEdited with the whole new phrase, which the owner commits as
    one undoable "Edit phrase". Nothing here touches a processor or the audio thread.

    The rows column beside it follows the grid's rows: getRowAxis() and getGridBounds() give
    their geometry, and the listener hears when they move.

    All members: [message thread].
*/
class PianoRoll : public juce::Component
    , private PhraseDocument::Listener
    , private PianoRollView::Listener
    , private juce::ScrollBar::Listener
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;

        /** A gesture or command changed the phrase: commit it as one "Edit phrase". */
        virtual void pianoRollPhraseEdited (const Sequence& edited) = 0;

        /** Ctrl+Z, Ctrl+Shift+Z while the grid has the keyboard focus. */
        virtual void pianoRollUndoRequested() {}
        virtual void pianoRollRedoRequested() {}

        /** View settings to keep with the song: the grid ("grid_size") and the value
            editor's range modes ("velocity_range", "transpose_range", "octave_range"). */
        virtual void pianoRollGridChanged (const GridSize&) {}
        virtual void pianoRollRangeModeChanged (ValueEditorMode, bool isOn) { juce::ignoreUnused (isOn); }

        /** The rows moved: their height, the scroll or the grid's place changed. */
        virtual void pianoRollRowLayoutChanged() {}

        /** The controller commands of the lane buttons and their menu: lane is the index
            into the phrase's lanes (the controller-type list has the same order). */
        virtual void pianoRollLaneAddRequested() {}
        virtual void pianoRollLaneTypeChosen (int lane, int type, int number, int channel) { juce::ignoreUnused (lane, type, number, channel); }
        virtual void pianoRollLaneDeleteRequested (int lane) { juce::ignoreUnused (lane); }
        virtual void pianoRollLaneRenamed (int lane, const juce::String& name) { juce::ignoreUnused (lane, name); }

        /** "Send MIDI Learn": a control change for the processor's one-shot controller message. */
        virtual void pianoRollMidiLearnRequested (int channel, int controller, int value) { juce::ignoreUnused (channel, controller, value); }
    };

    PianoRoll();
    ~PianoRoll() override;

    void addListener (Listener* l) { listeners.add (l); }
    void removeListener (Listener* l) { listeners.remove (l); }

    //==============================================================================
    /** The edited phrase as the processor holds it (after an edit, an undo, a generation or
        a switch of phrase). The same content keeps the selection and a gesture going on;
        other content, or `isAnotherPhrase` (the owner switched slots), drops the selection
        and cancels any gesture: a drag, a typed length, a value or curve drag. */
    void setPhrase (const Sequence&, bool isAnotherPhrase = false);

    /** The row table, row 0 first. */
    void setRows (const std::vector<PianoRollRow>&);

    /** What plays now, polled by the owner from the processor's thread-safe getters. */
    void setPlayback (const PlaybackSnapshot&);

    /** View settings restored from the song; none of them is reported back. */
    void setGrid (const GridSize&);
    void setRangeMode (ValueEditorMode, bool isOn);
    void setTool (NoteTool);

    //==============================================================================
    /** The grid's rows: height, count and vertical scroll. */
    const RowAxis& getRowAxis() const noexcept { return view.getRowAxis(); }

    /** Where the grid lies in this component: row r's top is getGridBounds().getY() +
        getRowAxis().yOf (r). */
    juce::Rectangle<int> getGridBounds() const;

    /** Scrolls the rows (a wheel over the rows column). */
    void setRowScroll (double scrollY);

    /** A preview that only shows its phrase: no tool bar, lane bar or value editor, and the
        grid and ruler take no clicks or keys; the wheel and the scroll bars still move it. */
    void setReadOnly (bool shouldBeReadOnly);
    bool isReadOnly() const noexcept { return readOnly; }

    //==============================================================================
    PhraseDocument& getDocument() noexcept { return document; }
    PianoRollView& getView() noexcept { return view; }
    NoteEditor& getNoteEditor() noexcept { return noteEditor; }
    VelocityEditor& getVelocityEditor() noexcept { return velocityEditor; }
    CurveEditor& getCurveEditor() noexcept { return curveEditor; }
    PianoRollToolBar& getToolBar() noexcept { return toolBar; }
    ControllerLaneBar& getLaneBar() noexcept { return laneBar; }

    /** The controller-lane menu of a lane, and what choosing an item does. */
    juce::PopupMenu createLaneMenu (int lane) const;
    void performLaneMenuCommand (int lane, int result);

    void paint (juce::Graphics&) override;
    void resized() override;
    void mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails&) override;
    void lookAndFeelChanged() override;
    void parentHierarchyChanged() override { lookAndFeelChanged(); }

private:
    void phraseChanged (const Sequence& before) override;
    void phraseReplaced() override;
    void timeAxisChanged() override;
    void rowAxisChanged() override;
    void scrollBarMoved (juce::ScrollBar*, double newRangeStart) override;

    void installCommands();
    void commitTransformation (const SequenceEdit&);
    void showUnderGrid (ControllerLaneBar::Shown);
    void updateScrollBars();
    void updatePhraseControls();

    template <typename Call>
    void tellListeners (Call&& call)
    {
        listeners.call (call);
    }

    PhraseDocument document;
    PianoRollView view;

    PianoRollToolBar toolBar;
    TimeRuler ruler { view };
    NoteEditor noteEditor { document, view };
    juce::ScrollBar horizontalScrollBar { false }, verticalScrollBar { true };
    ControllerLaneBar laneBar;
    VelocityEditor velocityEditor { document, view };
    CurveEditor curveEditor { document, view };

    ListenerSet<Listener> listeners;
    bool readOnly = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PianoRoll)
};

} // namespace tarn

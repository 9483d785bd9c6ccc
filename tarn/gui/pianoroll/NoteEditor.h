#pragma once

#include "PianoRollTypes.h"
#include "PianoRollView.h"

#include <tarn/sequence/notegrid/NoteCreation.h>
#include <tarn/sequence/notegrid/NoteDrag.h>
#include <tarn/sequence/notegrid/PhraseDocument.h>
#include <tarn/sequence/notegrid/RowLoopDrag.h>

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <optional>

namespace tarn
{

/** The note grid: one line per row of the row table, the phrase's notes on them, the bar
    and beat lines of its time signature, the rows' loop regions and the play head.

    The four tools turn pointer gestures into edits of the shared PhraseDocument: each drag
    previews on a copy and commits once when the button comes up. The grid's menus, and
    their shortcut keys while it has the keyboard focus, work on the document too; the
    whole-phrase commands it cannot do alone (Half Speed, Double Speed, Legato, Snap to
    Grid) go to its owner through four callbacks.

    Repaints are limited to what changed: the notes a step moved, the selection, the strip
    of the play head. The static background (rows, lines, labels) is drawn once into an
    image and reused until the view, the grid or the rows change.

    All members: [message thread].
*/
class NoteEditor : public juce::Component
    , private PhraseDocument::Listener
    , private PianoRollView::Listener
{
public:
    /** What the grid shows while the phrase has no note. */
    static constexpr const char* emptyPhraseHint = "Double-click to add a note, then hold a chord to hear it";

    NoteEditor (PhraseDocument& document, PianoRollView& view);
    ~NoteEditor() override;

    //==============================================================================
    void setTool (NoteTool);
    NoteTool getTool() const noexcept { return tool; }

    void setGrid (const GridSize&);
    const GridSize& getGrid() const noexcept { return grid; }

    /** The rows of the row table, bottom first; the grid shows one line per row. */
    void setRows (const std::vector<PianoRollRow>&);
    const std::vector<PianoRollRow>& getRows() const noexcept { return rows; }

    /** The velocity of notes made by double-click and by the brush. */
    void setDefaultVelocity (int velocity);

    void setPlayback (const PlaybackSnapshot&);
    const PlaybackSnapshot& getPlayback() const noexcept { return playback; }

    /** The row whose loop "Reset loop region" resets, −1 for none yet. */
    int getLoopRow() const noexcept { return loopRow; }

    /** Where "Paste" puts the clipboard: the snapped tick of the last click (left or right)
        on an empty place of the grid, −1 before one. */
    int getPastePosition() const noexcept { return pastePosition; }
    const NoteClipboard& getClipboard() const noexcept { return clipboard; }

    //==============================================================================
    /** The menu of the empty grid and of a note (its position in the phrase). */
    juce::PopupMenu createGridMenu() const;
    juce::PopupMenu createNoteMenu (int clickedNote) const;

    /** The grid sizes, straight ones first then "Dotted" and "Triplets"; item ids are the
        grid identifiers and `ticked` is ticked. */
    static juce::PopupMenu createGridSizeMenu (std::optional<GridSize> ticked);

    /** Carries out a menu result; the same number means different things in the two menus. */
    void performGridCommand (int command);
    void performNoteCommand (int command, int clickedNote);

    /** The whole-phrase commands, installed by the owner. */
    std::function<void()> onHalfSpeed, onDoubleSpeed, onLegato, onSnapToGrid;

    /** The grid size was chosen from the menu. */
    std::function<void (const GridSize&)> onGridChanged;

    /** Ctrl+Z and Ctrl+Shift+Z (or Ctrl+Y) while the grid has the focus. */
    std::function<void()> onUndo, onRedo;

    //==============================================================================
    /** Where a note is drawn. */
    juce::Rectangle<float> getNoteBounds (const SequenceNote&) const;

    /** The note under a point (the one drawn on top), or −1. */
    int findNoteAt (juce::Point<float>) const;

    //==============================================================================
    void paint (juce::Graphics&) override;
    void resized() override;
    void mouseMove (const juce::MouseEvent&) override;
    void mouseDown (const juce::MouseEvent&) override;
    void mouseDrag (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;
    void mouseDoubleClick (const juce::MouseEvent&) override;
    void mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails&) override;
    bool keyPressed (const juce::KeyPress&) override;
    void lookAndFeelChanged() override;
    void parentHierarchyChanged() override { invalidateBackground(); }

    /** Where the repetition of a looping row's note that sounds now starts (it lights as
        the note itself would), or -1 while none does. */
    int litRepetitionOf (const SequenceNote&) const noexcept;

private:
    /** The selection box: its first corner is kept in ticks and unscrolled pixels, so it
        stays put when the drag scrolls the view. */
    struct Marquee
    {
        double fromTick = 0.0, fromRowPixels = 0.0;
        juce::Point<float> to;
        NoteSelection before;
    };

    juce::Rectangle<float> marqueeArea() const;

    //==============================================================================
    void phraseChanged (const Sequence& before) override;
    void selectionChanged() override;
    void phraseReplaced() override { endGesture (false); }
    void timeAxisChanged() override;
    void rowAxisChanged() override;

    const Sequence& phrase() const noexcept { return document.getPhrase(); }
    double tickAt (float x) const noexcept;
    int rowAt (float y) const noexcept;
    RowRange rowRange() const noexcept;
    float xOf (double tick) const noexcept;
    juce::Rectangle<float> rowBounds (int row) const;

    // Gestures (NoteEditorGestures.cpp).
    void beginNoteDrag (const juce::MouseEvent&, int note);
    void beginCursorGesture (const juce::MouseEvent&);
    void beginPencilGesture (const juce::MouseEvent&);
    void beginBrushGesture (const juce::MouseEvent&);
    void beginLoopGesture (const juce::MouseEvent&);
    void showContextMenu (const juce::MouseEvent&);
    void updateMarquee (const juce::MouseEvent&);
    void scrollToFollow (juce::Point<float> pointer);
    void endGesture (bool commit);
    bool hasGesture() const noexcept;
    NoteDrag::Kind dragKindAt (juce::Point<float>, int note) const;

    // Commands (NoteEditorCommands.cpp).
    void commitEdit (const SequenceEdit&);
    void copySelection();
    void paste();

    // Painting (NoteEditorPainting.cpp).
    void renderBackground();
    void paintLoops (juce::Graphics&, juce::Rectangle<int> clip) const;
    void paintNotes (juce::Graphics&, juce::Rectangle<int> clip) const;
    void paintEmptyHint (juce::Graphics&) const;
    void paintPlayhead (juce::Graphics&) const;
    bool isLit (const SequenceNote&) const noexcept;
    void repaintNote (int start, int end, int row);
    void repaintRow (int row);
    void repaintPlayheadStrip (double tick);
    void invalidateBackground();

    //==============================================================================
    PhraseDocument& document;
    PianoRollView& view;

    NoteTool tool = NoteTool::cursor;
    GridSize grid;
    std::vector<PianoRollRow> rows;
    int defaultVelocity = 100;
    PlaybackSnapshot playback;

    int loopRow = -1;
    int pastePosition = -1;
    NoteClipboard clipboard;
    NoteSelection shownSelection;

    std::optional<NoteDrag> noteDrag;
    std::optional<PencilStroke> pencil;
    std::optional<BrushStroke> brush;
    std::optional<RowLoopDrag> loopDrag;
    std::optional<Marquee> marquee;
    SequenceEdit lastStep;
    int toggleOnRelease = -1; // a Shift-click on a selected note deselects it unless it drags
    bool dragged = false;

    juce::Image background;
    bool backgroundIsValid = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (NoteEditor)
};

} // namespace tarn

#include "NoteEditor.h"

#include "PianoRollMetrics.h"

namespace tarn
{
namespace
{
    bool snaps (const juce::MouseEvent& e) noexcept
    {
        return ! e.mods.isShiftDown();
    }
} // namespace

bool NoteEditor::hasGesture() const noexcept
{
    return noteDrag || pencil || brush || loopDrag || marquee;
}

NoteDrag::Kind NoteEditor::dragKindAt (juce::Point<float> point, int note) const
{
    const auto bounds = getNoteBounds (phrase().notes[(size_t) note]);
    const auto grab = std::min ((float) PianoRollMetrics::edgeGrabPixels, bounds.getWidth() / 3.0f);

    if (point.x >= bounds.getRight() - grab)
        return NoteDrag::Kind::resizeEnd;

    if (point.x <= bounds.getX() + grab)
        return NoteDrag::Kind::resizeStart;

    return NoteDrag::Kind::move;
}

void NoteEditor::mouseMove (const juce::MouseEvent& e)
{
    auto pointer = juce::MouseCursor::NormalCursor;

    if (tool == NoteTool::loop)
    {
        const auto row = rowAt (e.position.y);

        if (rowRange().contains (row))
        {
            const auto tolerance = PianoRollMetrics::edgeGrabPixels / view.getTimeAxis().pixelsPerTick();
            const auto part = RowLoopDrag::partAt (RowLoopDrag::effectiveLoop (phrase(), row), phrase().getLength(), tickAt (e.position.x), tolerance);
            pointer = part == RowLoopDrag::Part::startEdge || part == RowLoopDrag::Part::endEdge ? juce::MouseCursor::LeftRightResizeCursor
                     : part == RowLoopDrag::Part::region                                          ? juce::MouseCursor::DraggingHandCursor
                                                                                                  : juce::MouseCursor::IBeamCursor;
        }
    }
    else if (tool != NoteTool::brush)
    {
        const auto note = findNoteAt (e.position);

        if (note >= 0)
            pointer = dragKindAt (e.position, note) == NoteDrag::Kind::move ? juce::MouseCursor::DraggingHandCursor
                                                                           : juce::MouseCursor::LeftRightResizeCursor;
        else if (tool == NoteTool::pencil)
            pointer = juce::MouseCursor::CrosshairCursor;
    }
    else
    {
        pointer = juce::MouseCursor::CrosshairCursor;
    }

    setMouseCursor (pointer);
}

void NoteEditor::mouseDown (const juce::MouseEvent& e)
{
    endGesture (false);
    dragged = false;
    toggleOnRelease = -1;

    if (e.mods.isPopupMenu())
        return showContextMenu (e);

    // "V" pastes where the grid was last clicked, left or right, but not on a note: clicking
    // a note to copy it must not make the paste land on top of it.
    if (tool == NoteTool::loop || findNoteAt (e.position) < 0)
        pastePosition = GridTicks::snap (tickAt (e.position.x), grid, phrase().getLength());

    switch (tool)
    {
        case NoteTool::cursor: beginCursorGesture (e); break;
        case NoteTool::pencil: beginPencilGesture (e); break;
        case NoteTool::brush: beginBrushGesture (e); break;
        case NoteTool::loop: beginLoopGesture (e); break;
    }
}

void NoteEditor::beginNoteDrag (const juce::MouseEvent& e, int note)
{
    auto selection = document.getSelection();

    if (! selection.contains (note))
    {
        if (! e.mods.isShiftDown())
            selection.clear();

        selection.add (note);
        document.setSelection (selection);
    }
    else if (e.mods.isShiftDown())
    {
        toggleOnRelease = note;
    }

    noteDrag.emplace (document.getCommittedPhrase(), selection, note, dragKindAt (e.position, note), tickAt (e.position.x), rowAt (e.position.y), grid, rowRange());
}

void NoteEditor::beginCursorGesture (const juce::MouseEvent& e)
{
    const auto note = findNoteAt (e.position);

    if (note >= 0)
        return beginNoteDrag (e, note);

    const auto before = e.mods.isShiftDown() ? document.getSelection() : NoteSelection();
    document.setSelection (before);
    marquee = Marquee { tickAt (e.position.x), (double) e.position.y + view.getRowAxis().scrollY, e.position, before };
}

void NoteEditor::beginPencilGesture (const juce::MouseEvent& e)
{
    const auto note = findNoteAt (e.position);

    if (note >= 0)
        return beginNoteDrag (e, note);

    pencil.emplace (document.getCommittedPhrase(), tickAt (e.position.x), rowAt (e.position.y), snaps (e), grid, rowRange());

    if (! pencil->isValid())
        return pencil.reset();

    lastStep = pencil->update (pencil->getStart(), true);
    document.showPreview (lastStep.sequence, lastStep.selection);
}

void NoteEditor::beginBrushGesture (const juce::MouseEvent& e)
{
    brush.emplace (document.getCommittedPhrase(), grid, defaultVelocity, rowRange());
    lastStep = brush->paintTo (tickAt (e.position.x), rowAt (e.position.y));

    if (lastStep.hasChanged())
        document.showPreview (lastStep.sequence, lastStep.selection);
}

void NoteEditor::beginLoopGesture (const juce::MouseEvent& e)
{
    const auto row = rowAt (e.position.y);

    if (! rowRange().contains (row))
        return;

    if (loopRow != row)
    {
        const auto previous = loopRow;
        loopRow = row;

        if (previous >= 0)
            repaintRow (previous);

        repaintRow (row);
    }

    const auto tolerance = PianoRollMetrics::edgeGrabPixels / view.getTimeAxis().pixelsPerTick();
    loopDrag.emplace (document.getCommittedPhrase(), row, tickAt (e.position.x), tolerance, snaps (e), grid);
}

void NoteEditor::mouseDrag (const juce::MouseEvent& e)
{
    if (! hasGesture())
        return;

    if (! dragged && e.getDistanceFromDragStart() < 2)
        return;

    dragged = true;
    scrollToFollow (e.position);
    const auto tick = tickAt (e.position.x);

    if (marquee)
        return updateMarquee (e);

    if (noteDrag)
        lastStep = noteDrag->update (tick, rowAt (e.position.y), snaps (e));
    else if (pencil)
        lastStep = pencil->update (tick, snaps (e));
    else if (brush)
        lastStep = brush->paintTo (tick, rowAt (e.position.y));
    else if (loopDrag)
        lastStep = loopDrag->update (tick, snaps (e)), lastStep.selection = document.getSelection();

    if (lastStep.hasChanged() || document.isPreviewing())
        document.showPreview (lastStep.sequence, lastStep.selection);
}

juce::Rectangle<float> NoteEditor::marqueeArea() const
{
    const juce::Point<float> from { xOf (marquee->fromTick), (float) (marquee->fromRowPixels - view.getRowAxis().scrollY) };
    return { from, marquee->to };
}

void NoteEditor::scrollToFollow (juce::Point<float> pointer)
{
    // A drag past an edge scrolls that way, a little more the further out the pointer is;
    // the repeated drag events keep it going while the pointer stays there.
    const auto& time = view.getTimeAxis();
    const auto& rowAxis = view.getRowAxis();
    const auto overX = pointer.x < 0.0f ? pointer.x : std::max (0.0f, pointer.x - (float) getWidth());
    const auto overY = pointer.y < 0.0f ? pointer.y : std::max (0.0f, pointer.y - (float) getHeight());

    if (overX != 0.0f)
        view.scrollTimeTo (time.firstTick + juce::jlimit (-40.0, 40.0, (double) overX) / time.pixelsPerTick() * 0.5);

    if (overY != 0.0f)
        view.scrollRowsTo (rowAxis.scrollY + juce::jlimit (-40.0, 40.0, (double) overY) * 0.5);

    if (overX != 0.0f || overY != 0.0f)
        beginDragAutoRepeat (40);
}

void NoteEditor::updateMarquee (const juce::MouseEvent& e)
{
    const auto oldArea = marqueeArea();
    marquee->to = e.position;
    const auto area = marqueeArea();

    auto selection = marquee->before;
    const auto& notes = phrase().notes;

    for (size_t i = 0; i < notes.size(); ++i)
        if (notes[i].number >= 0 && notes[i].number < (int) rows.size() && area.intersects (getNoteBounds (notes[i])))
            selection.add ((int) i);

    document.setSelection (selection);
    repaint (oldArea.getUnion (area).expanded (2.0f).getSmallestIntegerContainer());
}

void NoteEditor::mouseUp (const juce::MouseEvent&)
{
    if (toggleOnRelease >= 0 && ! dragged)
    {
        auto selection = document.getSelection();
        selection.remove (toggleOnRelease);
        document.setSelection (selection);
    }

    toggleOnRelease = -1;
    endGesture (true);
}

void NoteEditor::endGesture (bool commit)
{
    if (marquee)
    {
        repaint (marqueeArea().expanded (2.0f).getSmallestIntegerContainer());
        marquee.reset();
    }

    if (brush && commit)
        lastStep = brush->finish();

    const auto hadStroke = noteDrag || pencil || brush || loopDrag;
    noteDrag.reset();
    pencil.reset();
    brush.reset();
    loopDrag.reset();

    if (! hadStroke)
        return;

    // A click that did not move leaves the phrase as it was; a pencil click still draws.
    if (commit && lastStep.hasChanged())
        document.commit (lastStep);
    else
        document.cancelPreview();

    lastStep = {};
}

void NoteEditor::mouseDoubleClick (const juce::MouseEvent& e)
{
    if (tool != NoteTool::cursor || e.mods.isPopupMenu() || findNoteAt (e.position) >= 0)
        return;

    endGesture (false);
    commitEdit (NoteCreation::addNoteInCell (document.getCommittedPhrase(), tickAt (e.position.x), rowAt (e.position.y), grid, defaultVelocity, rowRange()));
}

void NoteEditor::mouseWheelMove (const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel)
{
    const auto& rowAxis = view.getRowAxis();
    const auto& timeAxis = view.getTimeAxis();

    if (e.mods.isCommandDown() || e.mods.isCtrlDown())
        return view.zoomBy (std::pow (0.8, (double) wheel.deltaY * 4.0), e.position.x);

    const auto sideways = e.mods.isShiftDown() || std::abs (wheel.deltaX) > std::abs (wheel.deltaY)
                          || rowAxis.maximumScroll (getHeight()) <= 0.0;

    if (sideways)
    {
        const auto delta = (double) (std::abs (wheel.deltaX) > std::abs (wheel.deltaY) ? wheel.deltaX : wheel.deltaY);
        return view.scrollTimeTo (timeAxis.firstTick - delta * timeAxis.visibleTicks * 0.5);
    }

    view.scrollRowsTo (rowAxis.scrollY - (double) wheel.deltaY * rowAxis.rowHeight * 8.0);
}

} // namespace tarn

#include "PianoRollView.h"

#include "PianoRollMetrics.h"

#include <tarn/sequence/Sequence.h>

#include <cmath>

namespace tarn
{

void PianoRollView::setTime (const TimeAxis& newTime)
{
    if (newTime.firstTick == time.firstTick && newTime.visibleTicks == time.visibleTicks && newTime.width == time.width)
        return;

    time = newTime;
    listeners.call ([] (Listener& l)
                    { l.timeAxisChanged(); });
}

void PianoRollView::setRowAxis (const RowAxis& newRows)
{
    if (newRows.numRows == rows.numRows && newRows.rowHeight == rows.rowHeight && newRows.scrollY == rows.scrollY
        && newRows.stackTop == rows.stackTop)
        return;

    rows = newRows;
    listeners.call ([] (Listener& l)
                    { l.rowAxisChanged(); });
}

void PianoRollView::setPhraseLength (int length, int contentEnd)
{
    phraseLength = std::max (1, length);
    extent = std::max (phraseLength, std::min (contentEnd, 2 * Sequence::maxLength));

    // Until the user zooms, the whole phrase fills the width.
    if (! zoomedByUser)
        return showWholePhrase();

    setTime (time.zoomedTo (time.visibleTicks, 0.0, extent));
}

void PianoRollView::setWidth (int width)
{
    auto newTime = time;
    newTime.width = std::max (1, width);

    if (! zoomedByUser)
        newTime.visibleTicks = extent;

    setTime (newTime.zoomedTo (newTime.visibleTicks, 0.0, extent));
}

void PianoRollView::zoomTo (double ticks, double anchorX)
{
    zoomedByUser = true;
    setTime (time.zoomedTo (ticks, anchorX, extent));
}

void PianoRollView::zoomBy (double factor, double anchorX)
{
    zoomTo (time.visibleTicks * factor, anchorX);
}

void PianoRollView::scrollTimeTo (double firstTick)
{
    setTime (time.scrolledTo (firstTick, extent));
}

void PianoRollView::showWholePhrase()
{
    zoomedByUser = false;
    auto newTime = time;
    newTime.firstTick = 0.0;
    newTime.visibleTicks = extent;
    setTime (newTime);
}

void PianoRollView::setRows (int numRows, double newViewHeight)
{
    viewHeight = std::max (0.0, newViewHeight);
    auto newRows = rows;
    newRows.numRows = std::max (0, numRows);
    newRows.rowHeight = RowAxis::fittedRowHeight (newRows.numRows, viewHeight, PianoRollMetrics::smallestRowHeight, PianoRollMetrics::largestRowHeight);
    newRows.scrollY = std::clamp (newRows.scrollY, 0.0, newRows.maximumScroll (viewHeight));
    newRows.stackTop = newRows.stackTopIn (viewHeight);
    setRowAxis (newRows);
}

void PianoRollView::scrollRowsTo (double scrollY)
{
    auto newRows = rows;
    newRows.scrollY = std::clamp (std::round (scrollY), 0.0, rows.maximumScroll (viewHeight));
    setRowAxis (newRows);
}

} // namespace tarn

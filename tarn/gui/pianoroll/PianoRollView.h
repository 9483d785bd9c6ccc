#pragma once

#include <tarn/sequence/notegrid/GridGeometry.h>
#include <tarn/util/ListenerSet.h>

namespace tarn
{

/** Where the piano roll looks: the time axis the grid, the value editor and the curve
    editor share, and the rows of the grid. Not a component: the views listen to it, so a
    zoom or a scroll in one moves them all. [message thread] */
class PianoRollView
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void timeAxisChanged() {}
        virtual void rowAxisChanged() {}
    };

    const TimeAxis& getTimeAxis() const noexcept { return time; }
    const RowAxis& getRowAxis() const noexcept { return rows; }

    /** The phrase length, and where its content ends: the views may scroll over both, so
        notes a paste or a duplicate left past the end (which never play) can be seen and
        deleted. */
    void setPhraseLength (int length, int contentEnd = 0);
    int getPhraseLength() const noexcept { return phraseLength; }

    /** The ticks the views scroll over: the phrase, or further to its last note. */
    int getScrollExtent() const noexcept { return extent; }

    /** The width of the time strip every view shares. */
    void setWidth (int width);

    /** Shows `ticks` ticks, keeping the tick under `anchorX` where it is. */
    void zoomTo (double ticks, double anchorX);
    void zoomBy (double factor, double anchorX);
    void scrollTimeTo (double firstTick);
    void showWholePhrase();

    /** The rows of the grid, laid out for a view `viewHeight` pixels high. */
    void setRows (int numRows, double viewHeight);
    void scrollRowsTo (double scrollY);
    double getViewHeight() const noexcept { return viewHeight; }

    void addListener (Listener* l) { listeners.add (l); }
    void removeListener (Listener* l) { listeners.remove (l); }

private:
    void setTime (const TimeAxis&);
    void setRowAxis (const RowAxis&);

    TimeAxis time;
    RowAxis rows;
    int phraseLength = 3840, extent = 3840;
    double viewHeight = 0.0;
    bool zoomedByUser = false;
    ListenerSet<Listener> listeners;
};

} // namespace tarn

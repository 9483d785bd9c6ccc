#include "NoteEditor.h"

#include "PianoRollMetrics.h"

#include <tarn/sequence/notegrid/PhraseDifference.h>

namespace tarn
{

NoteEditor::NoteEditor (PhraseDocument& documentToUse, PianoRollView& viewToUse)
    : document (documentToUse)
    , view (viewToUse)
{
    setComponentID ("note_grid");

    // The grid's shortcut keys work while it has the focus, so the editor must let it keep
    // the focus a click gives it (other controls hand the keyboard back to the host).
    setWantsKeyboardFocus (true);
    getProperties().set ("tarn_keyboard_focus", true);
    setOpaque (true);
    // No tooltip: it would pop up over the notes being edited; each tool's help is on its
    // button.
    document.addListener (this);
    view.addListener (this);
}

NoteEditor::~NoteEditor()
{
    view.removeListener (this);
    document.removeListener (this);
}

//==============================================================================
void NoteEditor::setTool (NoteTool newTool)
{
    if (newTool == tool)
        return;

    endGesture (false);
    tool = newTool;
    repaint(); // the loop tool shows every row's handles
}

void NoteEditor::setGrid (const GridSize& newGrid)
{
    if (newGrid == grid)
        return;

    grid = newGrid;
    invalidateBackground();
}

void NoteEditor::setRows (const std::vector<PianoRollRow>& newRows)
{
    if (newRows == rows)
        return;

    endGesture (false);
    rows = newRows;
    loopRow = loopRow < (int) rows.size() ? loopRow : -1;
    view.setRows ((int) rows.size(), getHeight());
    invalidateBackground();
}

void NoteEditor::setDefaultVelocity (int velocity)
{
    defaultVelocity = juce::jlimit (1, 127, velocity);
}

void NoteEditor::setPlayback (const PlaybackSnapshot& newPlayback)
{
    if (newPlayback == playback)
        return;

    const auto before = playback;
    std::vector<bool> litBefore;
    std::vector<int> repetitionBefore;
    litBefore.reserve (phrase().notes.size());
    repetitionBefore.reserve (phrase().notes.size());

    for (const auto& note : phrase().notes)
    {
        litBefore.push_back (isLit (note));
        repetitionBefore.push_back (litRepetitionOf (note));
    }

    playback = newPlayback;

    if (before.playheadTick >= 0.0)
        repaintPlayheadStrip (before.playheadTick);

    if (playback.playheadTick >= 0.0)
        repaintPlayheadStrip (playback.playheadTick);

    for (size_t i = 0; i < phrase().notes.size(); ++i)
    {
        const auto& note = phrase().notes[i];

        if (isLit (note) != litBefore[i])
            repaintNote (note.timestamp, note.getEnd(), note.number);

        if (const auto repetition = litRepetitionOf (note); repetition != repetitionBefore[i])
            for (auto start : { repetition, repetitionBefore[i] })
                if (start >= 0)
                    repaintNote (start, start + note.length, note.number);
    }
}

//==============================================================================
double NoteEditor::tickAt (float x) const noexcept
{
    return view.getTimeAxis().tickAt (x);
}

float NoteEditor::xOf (double tick) const noexcept
{
    return (float) view.getTimeAxis().xOf (tick);
}

int NoteEditor::rowAt (float y) const noexcept
{
    return view.getRowAxis().rowAt (y);
}

RowRange NoteEditor::rowRange() const noexcept
{
    return { 0, std::min ((int) rows.size(), Sequence::numRows) - 1 };
}

juce::Rectangle<float> NoteEditor::rowBounds (int row) const
{
    const auto& axis = view.getRowAxis();
    return { 0.0f, (float) axis.yOf (row), (float) getWidth(), (float) axis.rowHeight };
}

juce::Rectangle<float> NoteEditor::getNoteBounds (const SequenceNote& note) const
{
    const auto left = xOf (note.timestamp);
    const auto right = std::max (left + 2.0f, xOf (note.getEnd()));
    return rowBounds (note.number).withLeft (left).withRight (right).reduced (0.0f, 1.0f);
}

int NoteEditor::findNoteAt (juce::Point<float> point) const
{
    const auto row = rowAt (point.y);
    const auto& notes = phrase().notes;

    for (auto i = (int) notes.size(); --i >= 0;)
        if (notes[(size_t) i].number == row && getNoteBounds (notes[(size_t) i]).expanded (1.0f, 0.0f).contains (point))
            return i;

    return -1;
}

//==============================================================================
void NoteEditor::resized()
{
    view.setWidth (getWidth());
    view.setRows ((int) rows.size(), getHeight());
    invalidateBackground();
}

void NoteEditor::lookAndFeelChanged()
{
    invalidateBackground();
}

void NoteEditor::invalidateBackground()
{
    backgroundIsValid = false;
    repaint();
}

void NoteEditor::timeAxisChanged()
{
    invalidateBackground();
}

void NoteEditor::rowAxisChanged()
{
    invalidateBackground();
}

void NoteEditor::phraseChanged (const Sequence& before)
{
    const auto difference = PhraseDifference::between (before, phrase());
    const auto extentBefore = view.getScrollExtent();

    if (difference.timingChanged)
    {
        view.setPhraseLength (phrase().getLength(), phrase().getContentEnd());
        return invalidateBackground();
    }

    // Notes pasted past the end, or the last of them deleted, change how far the view goes.
    view.setPhraseLength (phrase().getLength(), phrase().getContentEnd());

    if (view.getScrollExtent() != extentBefore)
        return invalidateBackground();

    // The hint of an empty phrase comes or goes.
    if (before.notes.empty() != phrase().notes.empty())
        return repaint();

    // A changed note on a looping row also changes the repetitions drawn after the loop.
    std::vector<bool> rowDone ((size_t) Sequence::numRows, false);

    for (auto row : difference.loopRows)
    {
        repaintRow (row);
        rowDone[(size_t) row] = true;
    }

    if (difference.notes.size() > 400)
        return repaint();

    for (const auto& note : difference.notes)
    {
        const auto row = juce::jlimit (0, Sequence::numRows - 1, note.row);

        if (rowDone[(size_t) row])
            continue;

        if (phrase().loops[(size_t) row].isSet() || before.loops[(size_t) row].isSet())
        {
            repaintRow (row);
            rowDone[(size_t) row] = true;
            continue;
        }

        repaintNote (note.start, note.end, note.row);
    }
}

void NoteEditor::selectionChanged()
{
    const auto& now = document.getSelection();
    const auto numChanged = shownSelection.size() + now.size();

    if (numChanged > 400)
    {
        shownSelection = now;
        return repaint();
    }

    const auto& notes = phrase().notes;

    for (const auto* selection : std::initializer_list<const NoteSelection*> { &shownSelection, &now })
        for (auto position : selection->getPositions())
            if (position >= 0 && position < (int) notes.size())
                repaintNote (notes[(size_t) position].timestamp, notes[(size_t) position].getEnd(), notes[(size_t) position].number);

    shownSelection = now;
}

void NoteEditor::repaintNote (int start, int end, int row)
{
    const auto left = xOf (start), right = std::max (left + 2.0f, xOf (end));
    repaint (rowBounds (row).withLeft (left).withRight (right).expanded (3.0f, 2.0f).getSmallestIntegerContainer());
}

void NoteEditor::repaintRow (int row)
{
    repaint (rowBounds (row).expanded (0.0f, 2.0f).getSmallestIntegerContainer());
}

void NoteEditor::repaintPlayheadStrip (double tick)
{
    repaint ((int) std::floor (xOf (tick)) - 2, 0, 5, getHeight());
}

bool NoteEditor::isLit (const SequenceNote& note) const noexcept
{
    if (! playback.isPlaying || playback.playheadTick < note.timestamp || playback.playheadTick >= note.getEnd())
        return false;

    return ! playback.knowsSoundingRows || (note.number >= 0 && note.number < 128 && playback.soundingRows[(size_t) note.number]);
}

int NoteEditor::litRepetitionOf (const SequenceNote& note) const noexcept
{
    // After a row's loop region the row plays the region again and again: the note inside it
    // sounds at its place in each repetition.
    if (! playback.isPlaying || note.number < 0 || note.number >= Sequence::numRows)
        return -1;

    const auto& loop = phrase().loops[(size_t) note.number];
    const auto tick = playback.playheadTick;

    if (! loop.isSet() || note.timestamp < loop.start || note.timestamp >= loop.end || tick < loop.end)
        return -1;

    if (playback.knowsSoundingRows && ! playback.soundingRows[(size_t) note.number])
        return -1;

    const auto period = loop.end - loop.start;
    const auto repetition = (int) std::floor ((tick - note.timestamp) / period);
    const auto start = note.timestamp + repetition * period;
    const auto length = phrase().getLength();

    if (repetition < 1 || start >= length || tick >= start + std::min (note.length, length - start))
        return -1;

    return start;
}

} // namespace tarn

#include <tarn/gui/pianoroll/PianoRoll.h>

#include <benchmark/benchmark.h>

// A large phrase as the piano roll must handle it: 2,000 notes on 32 rows over 16 bars, in a
// 1,600 × 900 piano roll (the grid itself is about 1,590 × 680).

namespace
{
constexpr int numNotes = 2000, numRows = 32, numBars = 16;

tarn::Sequence makeLargePhrase()
{
    juce::Random random (20260101); // fixed: the same phrase in every run
    tarn::Sequence phrase;
    phrase.setLength (numBars * tarn::Ticks::perWhole);

    for (int i = 0; i < numNotes; ++i)
    {
        tarn::SequenceNote note;
        note.number = random.nextInt (numRows);
        note.timestamp = random.nextInt (phrase.getLength() / 60) * 60;
        note.length = 60 + random.nextInt (4) * 60;
        note.velocityMin = note.velocityMax = 1 + random.nextInt (127);
        phrase.notes.push_back (note);
    }

    phrase.loops[3] = { 0, 3840 };
    phrase.normalise();
    return phrase;
}

struct LargePianoRoll
{
    LargePianoRoll()
    {
        std::vector<tarn::PianoRollRow> rows;

        for (int i = 0; i < numRows; ++i)
            rows.push_back ({ "Row " + juce::String (i + 1), false });

        pianoRoll.setSize (1600, 900);
        pianoRoll.setRows (rows);
        pianoRoll.setPhrase (makeLargePhrase());
        pianoRoll.getDocument().setSelection (tarn::NoteSelection::allOf (200));
    }

    tarn::NoteEditor& grid() { return pianoRoll.getNoteEditor(); }

    tarn::PianoRoll pianoRoll;
    juce::Image image { juce::Image::RGB, 1600, 900, true };
};

/** A repaint of the whole grid with the static background already drawn: what a scroll-free
    redraw costs. */
void fullGridPaint (benchmark::State& state)
{
    LargePianoRoll roll;
    juce::Graphics g (roll.image);
    roll.grid().paintEntireComponent (g, false); // draws the background once

    for (auto _ : state)
    {
        roll.grid().paintEntireComponent (g, false);
        benchmark::ClobberMemory();
    }
}
BENCHMARK (fullGridPaint)->Unit (benchmark::kMillisecond);

/** The same with the background drawn afresh: a zoom, a scroll or a resize. */
void fullGridPaintWithNewBackground (benchmark::State& state)
{
    LargePianoRoll roll;
    juce::Graphics g (roll.image);
    double zoom = 0.0;

    for (auto _ : state)
    {
        // Alternate between two zooms so every paint needs a new background.
        zoom = zoom == 0.0 ? 1.0 : 0.0;
        roll.pianoRoll.getView().zoomTo (numBars * 3840.0 - zoom * 240.0, 0.0);
        roll.grid().paintEntireComponent (g, false);
        benchmark::ClobberMemory();
    }
}
BENCHMARK (fullGridPaintWithNewBackground)->Unit (benchmark::kMillisecond);

/** One step of dragging 200 of the 2,000 notes: the drag's new phrase, the preview shown
    (which works out what changed), and a paint of the area that changed. */
void dragStep (benchmark::State& state)
{
    LargePianoRoll roll;
    auto& document = roll.pianoRoll.getDocument();
    const auto& selection = document.getSelection();
    const tarn::NoteDrag drag (document.getCommittedPhrase(), selection, selection.getPositions().front(), tarn::NoteDrag::Kind::move,
                               1000.0, 5, tarn::GridSize(), { 0, numRows - 1 });

    juce::Graphics g (roll.image);
    roll.grid().paintEntireComponent (g, false);
    int step = 0;

    for (auto _ : state)
    {
        step = (step + 1) % 8;
        const auto edit = drag.update (1000.0 + step * 60.0, 5, false);
        document.showPreview (edit.sequence, edit.selection);

        // The selection spans the first bars: the changed area is that part of the grid.
        const auto dirty = roll.grid().getLocalBounds().withWidth (roll.grid().getWidth() / 6);
        juce::Graphics::ScopedSaveState saved (g);
        g.reduceClipRegion (dirty);
        roll.grid().paintEntireComponent (g, false);
        benchmark::ClobberMemory();
    }
}
BENCHMARK (dragStep)->Unit (benchmark::kMillisecond);

/** The drag's arithmetic alone. */
void dragStepModel (benchmark::State& state)
{
    const auto phrase = makeLargePhrase();
    const tarn::NoteDrag drag (phrase, tarn::NoteSelection::allOf (200), 0, tarn::NoteDrag::Kind::move, 1000.0, 5, tarn::GridSize(), { 0, numRows - 1 });
    int step = 0;

    for (auto _ : state)
    {
        step = (step + 1) % 8;
        benchmark::DoNotOptimize (drag.update (1000.0 + step * 60.0, 5, true));
    }
}
BENCHMARK (dragStepModel)->Unit (benchmark::kMicrosecond);
} // namespace

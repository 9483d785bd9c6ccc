#include "PianoRollHarness.h"

#include <tests/source/processor/PluginHarness.h>

#include <set>

using namespace cadenzium::test;

namespace
{
struct RowsColumn : tarn::PianoRoll::Listener
{
    void pianoRollPhraseEdited (const tarn::Sequence&) override {}
    void pianoRollRowLayoutChanged() override { ++changes; }
    int changes = 0;
};
} // namespace

TEST (PianoRollView, rowsThatOutgrowTheViewScrollTheRowsColumnFollowsAndALargePhraseShowsAndZooms)
{
    PianoRollHarness h;
    EditCommands (h.processor).newRows (24);
    h.refresh();

    RowsColumn column;
    h.pianoRoll().addListener (&column);

    const auto& rows = h.pianoRoll().getRowAxis();
    ASSERT_EQ (rows.numRows, 32);
    EXPECT_GT (rows.totalHeight(), h.pianoRoll().getGridBounds().getHeight()) << "32 rows do not fit: they scroll";

    // The wheel over the grid scrolls the rows; the column beside it hears of it and can
    // place its rows where the grid draws them.
    const auto topRowBefore = rows.rowAt (0.0);
    h.window->wheel (h.grid(), -0.5f, juce::Point<float> { 100.0f, 100.0f });
    EXPECT_GT (rows.scrollY, 0.0);
    EXPECT_LT (rows.rowAt (0.0), topRowBefore);
    EXPECT_GT (column.changes, 0);

    // Scrolling from the column keeps within the rows.
    h.pianoRoll().setRowScroll (1.0e6);
    EXPECT_DOUBLE_EQ (rows.scrollY, rows.maximumScroll (h.pianoRoll().getGridBounds().getHeight()));
    EXPECT_EQ (rows.rowAt (h.pianoRoll().getGridBounds().getHeight() - 1.0), 0) << "the bottom row shows at the bottom";

    // A drag onto a row below the view scrolls down to it.
    h.pianoRoll().setRowScroll (0.0);
    h.drag (h.grid(), h.at (100.0, 31), { 300.0f, (float) h.grid().getHeight() + 30.0f });
    EXPECT_GT (rows.scrollY, 0.0);
    h.pianoRoll().removeListener (&column);

    // A large phrase over all of them shows with its loops and selection, and zooms.
    juce::Random random (20260101);
    tarn::Sequence phrase;
    phrase.setLength (4 * 3840);

    for (int i = 0; i < 2000; ++i)
        phrase.notes.push_back (makeNote (random.nextInt (32), random.nextInt (phrase.getLength() / 60) * 60, 60 + random.nextInt (4) * 60, 1 + random.nextInt (127)));

    phrase.loops[30] = { 960, 2880 };
    h.startWith (phrase);
    ASSERT_EQ (h.pianoRoll().getDocument().getPhrase().notes.size(), 2000u);
    h.pianoRoll().getDocument().setSelection (tarn::NoteSelection::allOf (150));
    h.window->saveScreenshot ("2000 notes");

    // Zoomed in on the second bar.
    h.pianoRoll().getView().zoomTo (3840.0, 0.0);
    h.pianoRoll().getView().scrollTimeTo (3840.0);
    h.window->saveScreenshot ("zoomed");
    EXPECT_NEAR (h.pianoRoll().getView().getTimeAxis().tickAt (0.0), 3840.0, 1.0);
}

TEST (PianoRollView, thePlayHeadFollowsThePlayingPhraseRestsWhenTheTransportStopsAndALoopingRowsRepetitionLights)
{
    PianoRollHarness h;
    SimulatedPlayHead host;
    h.processor.setPlayHead (&host);
    h.processor.prepareToPlay (48000.0, 512);
    juce::AudioBuffer<float> audio (2, 512);
    juce::MidiBuffer midi;

    const auto play = [&] (int blocks)
    {
        for (int i = 0; i < blocks; ++i)
        {
            midi.clear();
            h.processor.processBlock (audio, midi);
            host.advance (512, 48000.0);
            h.refresh();
        }
    };

    const auto& shown = h.grid().getPlayback();
    EXPECT_FALSE (shown.isPlaying);

    play (40); // about 0.85 of a quarter note
    EXPECT_TRUE (shown.isPlaying);
    EXPECT_NEAR (shown.playheadTick, 0.85 * 960.0, 120.0);

    // A phrase that is not the playing one shows no play head.
    h.editor().setEditedPhrase (1);
    EXPECT_LT (h.grid().getPlayback().playheadTick, 0.0);
    h.editor().setEditedPhrase (0);

    host.playing = false;
    play (10);
    EXPECT_FALSE (shown.isPlaying) << "a position that no longer moves is a stopped transport";
    EXPECT_GT (shown.playheadTick, 0.0) << "the play head rests where it stopped";

    // Played again from the start: a sixteenth at the start of row 0, whose loop repeats its
    // first quarter note.
    auto phrase = makeSequence ({ makeNote (0, 0, 240) });
    phrase.loops[0] = { 0, 960 };
    h.startWith (phrase);

    host.ppq = 0.0;
    host.playing = true;
    h.processor.prepareToPlay (48000.0, 1024);
    audio.setSize (2, 1024);
    for (auto note : { 48, 60, 64 })
        midi.addEvent (juce::MidiMessage::noteOn (1, note, (juce::uint8) 100), 0);

    const auto note = h.pianoRoll().getDocument().getPhrase().notes.front();
    std::set<int> litAt;

    // Through the second and third quarter notes: the note's repetitions at 960 and 1920 light
    // while they sound and only then.
    for (int block = 0; block < 200 && h.grid().getPlayback().playheadTick < 2400.0; ++block)
    {
        h.processor.processBlock (audio, midi);
        midi.clear();
        host.advance (1024, 48000.0);
        h.refresh();

        const auto tick = h.grid().getPlayback().playheadTick;
        const auto lit = h.grid().litRepetitionOf (note);
        const auto inRepetition = std::fmod (tick, 960.0) < 240.0 && tick >= 960.0;
        if (lit >= 0)
            litAt.insert (lit);
        if (std::abs (std::fmod (tick, 960.0) - 120.0) < 60.0 && tick >= 960.0)
        {
            EXPECT_EQ (lit, juce::roundToInt (tick) / 960 * 960) << "at tick " << tick;
        }
        if (! inRepetition)
        {
            EXPECT_EQ (lit, -1) << "at tick " << tick;
        }
    }

    EXPECT_EQ (litAt, (std::set<int> { 960, 1920 }));
    h.processor.setPlayHead (nullptr);
}

TEST (PianoRollView, notesDuplicatedOrPastedPastThePhraseEndShowBeyondItAndCanBeSelectedAndDeleted)
{
    PianoRollHarness h;
    h.startWith (makeSequence ({ makeNote (2, 2880, 960) }));
    auto& view = h.pianoRoll().getView();
    const auto isShown = [&h] (const tarn::SequenceNote& note)
    { return h.grid().getLocalBounds().toFloat().contains (h.grid().getNoteBounds (note).getCentre()); };

    // Duplicated, the note lands on the bar after the phrase, which it keeps but never plays:
    // the view now reaches it.
    h.window->click (h.grid(), h.at (3300.0, 2));
    ASSERT_TRUE (h.window->pressKey (juce::KeyPress ('d')));
    ASSERT_EQ (h.phrase().notes.size(), 2u);
    const auto beyond = h.phrase().notes[1];
    EXPECT_EQ (beyond.timestamp, 3840);
    EXPECT_EQ (h.phrase().getLength(), 3840);
    EXPECT_EQ (view.getScrollExtent(), 3840 + 960);
    EXPECT_TRUE (isShown (beyond));
    h.window->saveScreenshot ("duplicated past the end");

    // It is there to click and delete; then the view is the phrase again.
    h.window->click (h.grid(), h.at (3000.0, 6));
    h.window->click (h.grid(), h.at (4300.0, 2));
    EXPECT_EQ (h.pianoRoll().getDocument().getSelection(), tarn::NoteSelection ({ 1 }));
    ASSERT_TRUE (h.window->pressKey (juce::KeyPress (juce::KeyPress::deleteKey)));
    EXPECT_EQ (h.phrase().notes.size(), 1u);
    EXPECT_EQ (view.getScrollExtent(), 3840);

    // Pasted at the phrase end: the same.
    h.window->click (h.grid(), h.at (3300.0, 2));
    ASSERT_TRUE (h.window->pressKey (juce::KeyPress ('c')));
    h.window->click (h.grid(), h.at (3830.0, 5));
    ASSERT_TRUE (h.window->pressKey (juce::KeyPress ('v')));
    ASSERT_EQ (h.phrase().notes.size(), 2u);
    EXPECT_EQ (std::tuple (h.phrase().notes[1].timestamp, h.phrase().notes[1].number), std::tuple (3840, 2));
    EXPECT_TRUE (isShown (h.phrase().notes[1]));
    EXPECT_EQ (h.numUndoSteps(), 3);
}

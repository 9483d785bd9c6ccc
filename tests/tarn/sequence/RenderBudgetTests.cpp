#include "PlaybackTestSupport.h"

#include <tests/support/HostileSongs.h>

#include <gtest/gtest.h>

using namespace tarn;
using namespace cadenzium::test;

namespace
{
/** A pass as the player reads it: every note-on is answered by a note-off. */
void expectEveryNoteEnds (const juce::MidiMessageSequence& pass)
{
    EXPECT_EQ (countNotes (pass).sounding(), 0);
}

template <typename Predicate>
int countIf (const juce::MidiMessageSequence& pass, Predicate predicate)
{
    return (int) std::count_if (pass.begin(), pass.end(), [&] (const auto* holder) { return predicate (holder->message); });
}

constexpr int budgetWithMarkerAndEnd = RenderBudget::maxMessages + 2;
} // namespace

TEST (RenderBudget, oneTickRowLoopsOnEveryRowRepeatFromTheStartUntilTheBudgetIsSpent)
{
    RenderReport report;
    const auto pass = renderSequence (HostileSongs::rowLoops(), &report);

    EXPECT_LE (pass.getNumEvents(), budgetWithMarkerAndEnd);
    EXPECT_GT (pass.getNumEvents(), budgetWithMarkerAndEnd - 2 * 128); // the budget is used, not wasted
    EXPECT_EQ (report.notesLeftOut, 0);
    expectEveryNoteEnds (pass);

    // Every row strikes on every tick from the start up to where the budget ran out.
    const auto ticks = noteOnTicks (pass);
    const auto lastTick = ticks.back();
    EXPECT_EQ ((int) ticks.size(), 128 * (lastTick + 1));
    EXPECT_EQ (report.loopRepeatsLeftOut, (juce::int64) 128 * (HostileSongs::length - 1) - ((juce::int64) ticks.size() - 128));
    EXPECT_FALSE (report.isComplete());
    EXPECT_TRUE (report.describe().contains ("loop repeats"));
}

TEST (RenderBudget, repeatStrikesGoFromTheEndOfThePassAndEveryNoteStillPlaysWholly)
{
    for (int numNotes : { 2000, 10000 })
    {
        RenderReport report;
        const auto pass = renderSequence (HostileSongs::rateRepeats (numNotes), &report);

        EXPECT_LE (pass.getNumEvents(), budgetWithMarkerAndEnd) << numNotes;
        EXPECT_EQ (report.notesLeftOut, 0);
        EXPECT_GT (report.strikesLeftOut, 0);
        expectEveryNoteEnds (pass);

        const auto noteOffs = countIf (pass, [] (const juce::MidiMessage& m) { return m.isNoteOff(); });
        EXPECT_EQ (noteOffs, numNotes) << "every note keeps its note-off, at the phrase end";

        // The strikes kept are the earliest: after the first tick without one, none follows.
        auto ticks = noteOnTicks (pass);
        const auto firstStrikeGap = std::adjacent_find (ticks.begin() + numNotes, ticks.end(), [] (int a, int b) { return b - a > 20; });
        EXPECT_EQ (firstStrikeGap, ticks.end());
    }
}

TEST (RenderBudget, manyLanesAreSampledMoreCoarselyAndStillReachEveryPoint)
{
    RenderReport report;
    const auto pass = renderSequence (HostileSongs::lanes (16, 960), &report);

    EXPECT_LE (pass.getNumEvents(), budgetWithMarkerAndEnd);
    EXPECT_GE ((juce::int64) report.controllerStep * RenderBudget::maxLaneSamples, 16 * (juce::int64) HostileSongs::length);
    EXPECT_EQ (report.controllerChangesLeftOut, 0);
    expectEveryNoteEnds (pass);
    EXPECT_EQ (countIf (pass, [] (const juce::MidiMessage& m) { return m.isNoteOn(); }), 1);

    // The pitch bend swings every beat: sampled coarsely it still reaches its top each time,
    // on the beat.
    std::vector<int> tops, onEveryOtherBeat;

    for (const auto* holder : pass)
        if (holder->message.isPitchWheel() && holder->message.getPitchWheelValue() == 16383)
            tops.push_back ((int) holder->message.getTimeStamp());

    for (int tick = 960; tick < HostileSongs::length; tick += 1920)
        onEveryOtherBeat.push_back (tick);

    EXPECT_EQ (tops, onEveryOtherBeat);

    // Sixteen times as many lanes do not fit even at their points: their last changes go.
    const auto crowded = renderSequence (HostileSongs::lanes (256, 960), &report);
    EXPECT_LE (crowded.getNumEvents(), budgetWithMarkerAndEnd);
    EXPECT_GT (report.controllerChangesLeftOut, 0);
    expectEveryNoteEnds (crowded);
}

TEST (RenderBudget, aPhraseOfMoreNotesThanTheBudgetKeepsItsEarliestNotes)
{
    Sequence s;
    s.setLength (Sequence::maxLength);

    for (int i = 0; i < 200000; ++i)
        s.notes.push_back (makeNote (i % 128, (i * 4) % Sequence::maxLength + i / 245760, 1));

    s.normalise();
    RenderReport report;
    const auto pass = renderSequence (s, &report);

    EXPECT_LE (pass.getNumEvents(), budgetWithMarkerAndEnd);
    expectEveryNoteEnds (pass);
    const auto ticks = noteOnTicks (pass);
    EXPECT_EQ (report.notesLeftOut, 200000 - (juce::int64) ticks.size());

    const auto played = std::count_if (s.notes.begin(), s.notes.end(), [&] (const SequenceNote& n) { return n.timestamp <= ticks.back(); });
    EXPECT_EQ ((size_t) played, ticks.size()) << "every note before the last one played is played";
}

TEST (RenderBudget, whatIsLeftOutIsTheSameOnEveryPassAndCountedInPlayingOrder)
{
    auto phrase = HostileSongs::rowLoops();

    for (auto& note : phrase.notes)
        note.chance = 50;

    phrase.playbackStart = HostileSongs::length / 2;
    RenderReport first, second;
    juce::Random a (1), b (2);
    const auto passA = renderSequence (phrase, a, &first);
    renderSequence (phrase, b, &second);

    EXPECT_EQ (first.loopRepeatsLeftOut, second.loopRepeatsLeftOut);
    EXPECT_GT (first.loopRepeatsLeftOut, 0);
    expectEveryNoteEnds (passA);

    // Turned round to the middle, the pass opens on the loops there: those are kept, and the
    // written notes still come round at the phrase's tick 0.
    const auto ticks = noteOnTicks (passA);
    const auto written = std::count (ticks.begin(), ticks.end(), HostileSongs::length / 2);
    EXPECT_GT (written, 0);
    ASSERT_GT (ticks.size(), (size_t) written);
    EXPECT_LT (ticks.front(), 10);
    EXPECT_LT (ticks[ticks.size() - (size_t) written - 1], HostileSongs::length / 4);
}

TEST (RenderBudget, aDenseMusicalPhraseIsRenderedInFull)
{
    // Sixteen bars with a sixteenth on every step of sixteen rows, each struck four times,
    // four rows looping their first bar, a pitch bend wobbling on every tick and three
    // controllers swinging every beat: about 100,000 messages.
    Sequence s;
    s.setLength (16 * Ticks::perWhole);

    for (int row = 0; row < 16; ++row)
    {
        for (int step = 0; step < 256; ++step)
        {
            auto note = makeNote (row, step * 240, 240);
            note.repeatStyle = SequenceNote::repeatCountTimes;
            note.repeatCount = 4;
            s.notes.push_back (note);
        }
    }

    for (int row = 12; row < 16; ++row)
        s.loops[(size_t) row] = { 0, Ticks::perWhole };

    for (int i = 0; i < 4; ++i)
    {
        ControllerLane lane;
        lane.type = i == 0 ? ControllerLane::pitchBend : ControllerLane::controlChange;
        lane.number = i;

        for (int tick = 0; tick <= s.getLength(); tick += 480)
            lane.points.push_back ({ tick, (tick / 480) % 2 == 0 ? 0 : (i == 0 ? 4096 : 127), 0.5f, ControllerPoint::sCurve });

        s.lanes.push_back (lane);
    }

    s.normalise();
    RenderReport report;
    const auto pass = renderSequence (s, &report);
    EXPECT_TRUE (report.isComplete()) << report.describe();
    EXPECT_GT (pass.getNumEvents(), 80000);
}

#include "PlaybackTestSupport.h"

#include <tests/support/HostileSongs.h>

#include <gtest/gtest.h>

#include <numeric>
#include <set>

using namespace tarn;
using namespace cadenzium::test;

namespace
{
struct Strike
{
    int tick;
    bool isNoteOn;
    int note, velocity, offset;
};

std::vector<Strike> strikes (const juce::MidiMessageSequence& rendering)
{
    std::vector<Strike> result;

    for (const auto* holder : rendering)
        if (const auto [message, offset] = PitchOffsetMessage::unwrap (holder->message); message.isNoteOnOrOff())
            result.push_back ({ (int) holder->message.getTimeStamp(), message.isNoteOn(), message.getNoteNumber(), message.getVelocity(), offset });

    return result;
}

std::vector<std::pair<int, int>> controllerValues (const juce::MidiMessageSequence& rendering)
{
    std::vector<std::pair<int, int>> values;

    for (const auto* holder : rendering)
        if (holder->message.isController())
            values.push_back ({ (int) holder->message.getTimeStamp(), holder->message.getControllerValue() });

    return values;
}

constexpr int budgetWithMarkerAndEnd = RenderBudget::maxMessages + 2;

/** A pass the player can take: within the budget (with its loop count marker and its end),
    every note-on answered by a note-off. */
void expectPlayable (const juce::MidiMessageSequence& pass)
{
    EXPECT_LE (pass.getNumEvents(), budgetWithMarkerAndEnd);
    EXPECT_EQ (countNotes (pass).sounding(), 0);
}

template <typename Predicate>
int countIf (const juce::MidiMessageSequence& pass, Predicate predicate)
{
    return (int) std::count_if (pass.begin(), pass.end(), [&] (const auto* holder) { return predicate (holder->message); });
}
} // namespace

TEST (SequenceRenderer, chanceAndRangesAreDrawnAfreshForEveryPass)
{
    auto never = makeNote (61, 0, 240);
    never.chance = 0;
    auto ranged = makeNote (62, 480, 240, 10, 20);
    ranged.octaveMin = -1;
    ranged.octaveMax = 1;
    // A velocity draw of zero still sounds, as the quietest note-on, repeats included.
    auto silent = makeNote (63, 960, 240, 0, 1);
    silent.repeatStyle = SequenceNote::repeatCountTimes;
    silent.repeatCount = 2;
    auto s = makeSequence ({ makeNote (60, 0, 240), never, ranged, silent });
    std::set<int> velocities, pitches, offsets, quietest;

    for (int pass = 0; pass < 200; ++pass)
    {
        const auto rendering = renderSequence (s);
        EXPECT_EQ (noteOnTicks (rendering, 60).size(), 1u);
        EXPECT_TRUE (noteOnTicks (rendering, 61).empty());

        for (const auto& strike : strikes (rendering))
            if (strike.tick == 480 && strike.isNoteOn)
            {
                velocities.insert (strike.velocity);
                pitches.insert (strike.note);
            }

        for (const auto* holder : rendering)
            if (holder->message.isNoteOn (true) && holder->message.getNoteNumber() == 63)
                quietest.insert (holder->message.getVelocity());
    }

    EXPECT_EQ (quietest, (std::set<int> { 1 }));
    EXPECT_EQ (*velocities.begin(), 10);
    EXPECT_EQ (*velocities.rbegin(), 20);
    EXPECT_EQ (pitches, (std::set<int> { 50, 62, 74 }));

    // Carried offsets leave the note number alone and travel in the wrapper, note-off included.
    s.carryPitchOffset = true;

    for (int pass = 0; pass < 100; ++pass)
        for (const auto& strike : strikes (renderSequence (s)))
            if (strike.tick >= 480 && strike.note != 63)
                offsets.insert (strike.note == 62 ? strike.offset : 999);

    EXPECT_EQ (offsets, (std::set<int> { -12, 0, 12 }));
}

TEST (SequenceRenderer, repeatsRowLoopsAndThePlaybackStartStrikeOnTheirTicksAndNothingHangs)
{
    // A note ending where the next on its pitch starts is ended first: else its note-off
    // would end the restrike and the second note-off would be stray.
    const auto backToBack = makeSequence ({ makeNote (62, 0, 480), makeNote (62, 480, 480) }, 1920);
    const auto repeats = makeSequence ({ makeRepeatingNote (60, 960, 960, SequenceNote::repeatCountTimes, 4), makeRepeatingNote (61, 960, 960, SequenceNote::repeatAtRate, 0, GridSize::fromIdentifier (104)),
                                         makeRepeatingNote (62, 0, 960, SequenceNote::repeatAtRate, 0, GridSize::fromIdentifier (100)), makeRepeatingNote (63, 0, 960, SequenceNote::repeatCountTimes, 2000000000),
                                         makeNote (64, 100, 0), makeNote (65, 3840, 240) });
    auto looped = makeSequence ({ makeNote (60, 0, 240), makeNote (61, 0, 240), makeNote (62, 0, 240) });
    looped.loops[60] = { 0, 960 };
    looped.loops[62] = { 960, 960 }; // set behind the model's back: must not hang
    auto turned = makeSequence ({ makeNote (60, 960, 240), makeNote (61, 0, 240) });
    turned.playbackStart = 960;
    turned.lanes.push_back (controlChange (7, { { 0, 10, 0.5f, 0 }, { 500, 10, 0.5f, 0 }, { 501, 90, 0.5f, 0 } }));

    const std::tuple<const char*, const Sequence*, int, std::vector<int>> cases[] = {
        { "back to back", &backToBack, 62, { 0, 480 } },
        { "four equal strikes", &repeats, 60, { 960, 1200, 1440, 1680 } },
        { "a sixteenth rate", &repeats, 61, { 960, 1200, 1440, 1680 } },
        { "a rate longer than the note", &repeats, 62, { 0 } },
        { "a step below one tick never advances", &repeats, 63, { 0 } },
        { "no length", &repeats, 64, {} },
        { "a start at the end", &repeats, 65, {} },
        { "a row loop", &looped, 60, { 0, 960, 1920, 2880 } },
        { "no row loop", &looped, 61, { 0 } },
        { "an empty row loop", &looped, 62, { 0 } },
        { "the playback start opens the pass", &turned, 60, { 0 } },
        { "what was before it comes round", &turned, 61, { 2880 } },
    };

    for (const auto& [why, phrase, row, expected] : cases)
    {
        // Every pass opens with its loop count and closes at its end.
        const auto rendering = renderSequence (*phrase);
        EXPECT_TRUE (LoopCountMarker::isMarker (rendering.getEventPointer (0)->message)) << why;
        EXPECT_TRUE (isEndOfTrack (rendering.getEventPointer (rendering.getNumEvents() - 1)->message)) << why;
        EXPECT_EQ (noteOnTicks (rendering, row), expected) << why;
        const auto counter = countNotes (rendering);
        EXPECT_EQ (std::pair (counter.sounding(), counter.strayNoteOffs()), std::pair (0, 0)) << why;
    }

    // The value in force at the playback start opens the pass; the jump at 501 still comes round.
    EXPECT_EQ (controllerValues (renderSequence (turned)), (std::vector<std::pair<int, int>> { { 0, 90 }, { 2880, 10 }, { 3381, 90 } }));
}

TEST (SequenceRenderer, controllerLanesFollowTheirCurveTickByTick)
{
    auto s = makeSequence ({});
    s.lanes.push_back (controlChange (1, { { 0, 0, 0.5f, 0 }, { 960, 127, 0.5f, 0 } }));
    std::vector<int> values, everyValueOnceRising (128);
    std::iota (everyValueOnceRising.begin(), everyValueOnceRising.end(), 0);

    for (const auto& [tick, value] : controllerValues (renderSequence (s)))
        values.push_back (tick <= 960 ? value : -1); // nothing after the last point

    EXPECT_EQ (values, everyValueOnceRising);

    // Curved segments pass their end points and bend away from the straight line.
    for (auto shape : { ControllerPoint::quadratic, ControllerPoint::sCurve })
    {
        s.lanes[0].points[1] = { 960, 127, 0.1f, shape };
        const auto curved = controllerValues (renderSequence (s));
        ASSERT_FALSE (curved.empty());
        EXPECT_EQ (curved.front().second, 0);
        EXPECT_EQ (curved.back().second, 127);
        EXPECT_LE (curved.back().first, 960);

        for (size_t i = 1; i < curved.size(); ++i)
            EXPECT_GT (curved[i].second, curved[i - 1].second);

        EXPECT_NE (std::find_if (curved.begin(), curved.end(), [] (auto v)
                                 { return v.first >= 240; })
                       ->second,
                   32);
    }

    // A lane opens with its value, whatever it is (a bend of -1 still tells the synth so); a
    // lane without points sends nothing.
    for (const auto& [bendValue, wheel] : { std::pair (-1, 0x2000 - 1), std::pair (0, 0x2000) })
    {
        ControllerLane bend;
        bend.points = { { 0, bendValue, 0.5f, 0 } };
        s.lanes = { bend, controlChange (7, {}) };
        const auto rendering = renderSequence (s);
        ASSERT_EQ (rendering.getNumEvents(), 3); // marker, bend, end of track
        EXPECT_EQ (rendering.getEventPointer (1)->message.getPitchWheelValue(), wheel);
    }
}

TEST (PitchOffsetMessage, wrapsNotesOnlyAndUnwrapsToTheSameNote)
{
    const auto noteOn = juce::MidiMessage::noteOn (3, 64, (juce::uint8) 90).withTimeStamp (12.0);
    const auto back = PitchOffsetMessage::unwrap (PitchOffsetMessage::wrap (noteOn, -12));
    EXPECT_EQ (back.message.getDescription(), noteOn.getDescription());
    EXPECT_EQ (back.message.getTimeStamp(), 12.0);
    EXPECT_EQ (back.offset, -12);
    EXPECT_TRUE (PitchOffsetMessage::unwrap (PitchOffsetMessage::wrap (juce::MidiMessage::noteOn (1, 60, (juce::uint8) 0), 5)).message.isNoteOff());

    // Offsets that could never land on a key are limited, keeping F7 out of the offset byte.
    EXPECT_EQ (PitchOffsetMessage::unwrap (PitchOffsetMessage::wrap (noteOn, 147)).offset, PitchOffsetMessage::maxOffset);
    const auto controller = juce::MidiMessage::controllerEvent (1, 7, 100);
    EXPECT_EQ (PitchOffsetMessage::wrap (controller, 3).getRawDataSize(), 3);
    EXPECT_EQ (PitchOffsetMessage::unwrap (controller).offset, 0);
}

TEST (RenderBudget, oneTickRowLoopsOnEveryRowRepeatFromTheStartUntilTheBudgetIsSpentAlikeOnEveryPass)
{
    RenderReport report;
    const auto pass = renderSequence (HostileSongs::rowLoops(), &report);

    EXPECT_GT (pass.getNumEvents(), budgetWithMarkerAndEnd - 2 * 128); // the budget is used, not wasted
    EXPECT_EQ (report.notesLeftOut, 0);
    expectPlayable (pass);

    // Every row strikes on every tick from the start up to where the budget ran out.
    const auto ticks = noteOnTicks (pass);
    const auto lastTick = ticks.back();
    EXPECT_EQ ((int) ticks.size(), 128 * (lastTick + 1));
    EXPECT_EQ (report.loopRepeatsLeftOut, (juce::int64) 128 * (HostileSongs::length - 1) - ((juce::int64) ticks.size() - 128));
    EXPECT_FALSE (report.isComplete());
    EXPECT_TRUE (report.describe().contains ("loop repeats"));

    // Drawn with chance, what is left out is the same on every pass.
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
    expectPlayable (passA);

    // Turned round to the middle, the pass opens on the loops there: those are kept, and the
    // written notes still come round at the phrase's tick 0.
    const auto turned = noteOnTicks (passA);
    const auto written = std::count (turned.begin(), turned.end(), HostileSongs::length / 2);
    EXPECT_GT (written, 0);
    ASSERT_GT (turned.size(), (size_t) written);
    EXPECT_LT (turned.front(), 10);
    EXPECT_LT (turned[turned.size() - (size_t) written - 1], HostileSongs::length / 4);
}

TEST (RenderBudget, repeatStrikesGoFromTheEndOfThePassAndEveryNoteStillPlaysWholly)
{
    for (int numNotes : { 2000, 10000 })
    {
        SCOPED_TRACE (numNotes);
        RenderReport report;
        const auto pass = renderSequence (HostileSongs::rateRepeats (numNotes), &report);
        EXPECT_EQ (report.notesLeftOut, 0);
        EXPECT_GT (report.strikesLeftOut, 0);
        expectPlayable (pass);

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

    EXPECT_GE ((juce::int64) report.controllerStep * RenderBudget::maxLaneSamples, 16 * (juce::int64) HostileSongs::length);
    EXPECT_EQ (report.controllerChangesLeftOut, 0);
    expectPlayable (pass);
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
    EXPECT_GT (report.controllerChangesLeftOut, 0);
    expectPlayable (crowded);
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

    expectPlayable (pass);
    const auto ticks = noteOnTicks (pass);
    EXPECT_EQ (report.notesLeftOut, 200000 - (juce::int64) ticks.size());

    const auto played = std::count_if (s.notes.begin(), s.notes.end(), [&] (const SequenceNote& n) { return n.timestamp <= ticks.back(); });
    EXPECT_EQ ((size_t) played, ticks.size()) << "every note before the last one played is played";
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

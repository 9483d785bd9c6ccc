#include "PlaybackTestSupport.h"

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
} // namespace

TEST (SequenceRenderer, aPassOpensWithItsLoopCountClosesAtItsEndAndEndsANoteBeforeTheNextOnItsPitch)
{
    const auto s = makeSequence ({ makeNote (62, 0, 480), makeNote (62, 480, 480) }, 1920);
    const auto rendering = renderSequence (s);
    ASSERT_TRUE (LoopCountMarker::isMarker (rendering.getEventPointer (0)->message));
    EXPECT_TRUE (isEndOfTrack (rendering.getEventPointer (rendering.getNumEvents() - 1)->message));

    // The note-off of a note ending where the next on its pitch starts comes first.
    const auto all = strikes (rendering);
    const auto at480 = std::find_if (all.begin(), all.end(), [] (const Strike& x)
                                     { return x.tick == 480; });
    ASSERT_NE (at480, all.end());
    EXPECT_FALSE (at480->isNoteOn); // (the player's loop count tests read the marker)
}

TEST (SequenceRenderer, chanceAndRangesAreDrawnAfreshForEveryPass)
{
    auto never = makeNote (61, 0, 240);
    never.chance = 0;
    auto ranged = makeNote (62, 480, 240, 10, 20);
    ranged.octaveMin = -1;
    ranged.octaveMax = 1;
    auto s = makeSequence ({ makeNote (60, 0, 240), never, ranged });
    std::set<int> velocities, pitches, offsets;

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
    }

    EXPECT_EQ (*velocities.begin(), 10);
    EXPECT_EQ (*velocities.rbegin(), 20);
    EXPECT_EQ (pitches, (std::set<int> { 50, 62, 74 }));

    // Carried offsets leave the note number alone and travel in the wrapper, note-off included.
    s.carryPitchOffset = true;

    for (int pass = 0; pass < 100; ++pass)
        for (const auto& strike : strikes (renderSequence (s)))
            if (strike.tick >= 480)
                offsets.insert (strike.note == 62 ? strike.offset : 999);

    EXPECT_EQ (offsets, (std::set<int> { -12, 0, 12 }));
}

TEST (SequenceRenderer, aVelocityDrawOfZeroStillSoundsAsTheQuietestNoteOn)
{
    auto s = makeSequence ({ makeNote (60, 0, 240, 0, 1), makeNote (61, 480, 240, 0) });
    s.notes[1].repeatStyle = SequenceNote::repeatCountTimes;
    s.notes[1].repeatCount = 2;
    std::set<int> velocities;

    for (int pass = 0; pass < 100; ++pass)
        for (const auto* holder : renderSequence (s))
            if (holder->message.isNoteOn (true))
                velocities.insert (holder->message.getVelocity());

    EXPECT_EQ (velocities, (std::set<int> { 1 }));
}

TEST (SequenceRenderer, repeatsRowLoopsAndThePlaybackStartStrikeOnTheirTicksAndNothingHangs)
{
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
        const auto rendering = renderSequence (*phrase);
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

    // A lane opens with its value, whatever it is: one holding -1 still tells the synth so.
    ControllerLane lowBend;
    lowBend.points = { { 0, -1, 0.5f, 0 } };
    s.lanes = { lowBend };
    const auto opened = renderSequence (s);
    ASSERT_EQ (opened.getNumEvents(), 3);
    EXPECT_EQ (opened.getEventPointer (1)->message.getPitchWheelValue(), 0x2000 - 1);

    // A pitch bend lane at 0 sends the centre; a lane without points sends nothing.
    ControllerLane bend;
    bend.points = { { 0, 0, 0.5f, 0 } };
    s.lanes = { bend, controlChange (7, {}) };
    const auto rendering = renderSequence (s);
    EXPECT_TRUE (controllerValues (rendering).empty());
    ASSERT_EQ (rendering.getNumEvents(), 3); // marker, bend, end of track
    EXPECT_EQ (rendering.getEventPointer (1)->message.getPitchWheelValue(), 0x2000);
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

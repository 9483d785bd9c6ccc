#include <tests/support/Phrases.h>

#include <gtest/gtest.h>

using namespace tarn;
using namespace cadenzium::test;

TEST (SequenceModel, normaliseSortsNotesDropsLoopsThatCannotLoopAndSetLengthClamps)
{
    Sequence s;
    s.notes = { makeNote (1, 3000, 1000), makeNote (2, 0, 240), makeNote (3, 960, 240) };
    ControllerLane lane;
    lane.points = { { 4500, 10, 0.5f, 0 } };
    s.lanes.push_back (lane);
    s.loops[63] = { -5, 100 }; // (the loops reading drops are in the serialisation tests)
    s.loops[64] = { 0, 960 };
    s.loops[65] = { 960, 5000 }; // runs past the end: still a loop from 960
    s.normalise();
    EXPECT_EQ (std::tuple (s.notes[0].number, s.notes[1].number, s.notes[2].number), std::tuple (2, 3, 1));
    EXPECT_EQ (s.getContentEnd(), 4500);
    s.lanes.clear();
    s.normalise();
    EXPECT_EQ (s.getContentEnd(), 4000);

    EXPECT_FALSE (s.loops[63].isSet());
    EXPECT_EQ (s.loops[64], (RowLoop { 0, 960 }));
    EXPECT_EQ (s.loops[65], (RowLoop { 960, 5000 }));
    s.setLength (960); // the loop at 64 now covers everything
    s.normalise();
    EXPECT_FALSE (s.loops[64].isSet());
    s.playbackStart = 500;
    s.setLength (0);
    EXPECT_EQ (s.playbackStart, 500);
    EXPECT_EQ (s.getEffectivePlaybackStart(), 0);
    s.setLength (100);
    EXPECT_EQ (s.playbackStart, 99);
    s.setLength (-20);
    EXPECT_EQ (s.getLength(), 0);
    s.setLength (std::numeric_limits<int>::max());
    EXPECT_EQ (s.getLength(), Sequence::maxLength);
}

TEST (SequenceModel, setLaneReplacesTheLaneWithTheSameKeyAndLanesNameThemselves)
{
    Sequence s;
    const auto modulation = controlChange (1, {});
    const auto volume = controlChange (7, {});
    ControllerLane bend;
    bend.points = { { 0, 100, 0.5f, 0 } };
    s.setLane (modulation);
    s.setLane (volume);
    s.setLane (bend);
    bend.points = { { 0, -100, 0.5f, 0 } };
    bend.name = "Wobble";
    s.setLane (bend);
    ASSERT_EQ (s.lanes.size(), 3u);
    EXPECT_EQ (s.lanes[2].points[0].value, -100);
    EXPECT_EQ (s.lanes[2].name, "Wobble");
    bend.channel = 2; // a pitch bend lane on another channel is another lane
    s.setLane (bend);
    EXPECT_EQ (s.lanes.size(), 4u);
    const std::tuple<int, int, int, const char*, const char*> cases[] = {
        { ControllerLane::controlChange, 20, 1, "", "CC 20" }, // no name of its own
        { ControllerLane::controlChange, 7, 3, "", "CC 7 - Volume (Ch: 3)" },
        { ControllerLane::pitchBend, -1, 1, "", "Pitch Bend" },
        { ControllerLane::pitchBend, -1, 5, "Filter", "Filter (Ch: 5)" },
    };

    for (const auto& [type, number, channel, name, expected] : cases)
    {
        ControllerLane lane;
        lane.type = type;
        lane.number = number;
        lane.channel = channel;
        lane.name = name;
        EXPECT_EQ (lane.getDisplayName(), expected);
    }
}

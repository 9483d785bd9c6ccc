#include <tarn/sequence/Sequence.h>

#include <gtest/gtest.h>

using namespace tarn;

namespace
{
SequenceNote makeNote (int number, int timestamp, int length)
{
    SequenceNote note;
    note.number = number;
    note.timestamp = timestamp;
    note.length = length;
    note.velocityMin = note.velocityMax = 100;
    return note;
}
} // namespace

TEST (SequenceModel, aFreshSequenceIsOneEmptyBarOfFourFour)
{
    const Sequence s;
    EXPECT_EQ (s.getLength(), 3840);
    EXPECT_EQ (s.timeSignatureNumerator, 4);
    EXPECT_EQ (s.timeSignatureDenominator, 4);
    EXPECT_EQ (s.playbackStart, 0);
    EXPECT_EQ (s.loopCount, -1);
    EXPECT_TRUE (s.notes.empty());
    EXPECT_TRUE (s.lanes.empty());

    for (const auto& loop : s.loops)
        EXPECT_EQ (loop, RowLoop());
}

TEST (SequenceModel, normalisationSortsNotesAndComputesTheContentEnd)
{
    Sequence s;
    s.notes = { makeNote (1, 3000, 1000), makeNote (2, 0, 240), makeNote (3, 960, 240) };

    ControllerLane lane;
    lane.points = { { 4500, 10, 0.5f, 0 } };
    s.lanes.push_back (lane);
    s.normalise();

    ASSERT_EQ (s.notes.size(), 3u);
    EXPECT_EQ (s.notes[0].number, 2);
    EXPECT_EQ (s.notes[1].number, 3);
    EXPECT_EQ (s.notes[2].number, 1);
    EXPECT_EQ (s.getContentEnd(), 4500);

    s.lanes.clear();
    s.normalise();
    EXPECT_EQ (s.getContentEnd(), 4000);
}

TEST (SequenceModel, loopsThatCoverEverythingOrNothingAreNotLoops)
{
    Sequence s;
    s.loops[60] = { 0, 3840 }; // the whole phrase
    s.loops[61] = { 960, 960 }; // empty: would never advance
    s.loops[62] = { 500, 100 }; // inverted
    s.loops[63] = { -5, 100 }; // negative start
    s.loops[64] = { 0, 960 };
    s.loops[65] = { 960, 5000 }; // runs past the end: still a loop from 960
    s.normalise();

    EXPECT_FALSE (s.loops[60].isSet());
    EXPECT_FALSE (s.loops[61].isSet());
    EXPECT_FALSE (s.loops[62].isSet());
    EXPECT_FALSE (s.loops[63].isSet());
    EXPECT_EQ (s.loops[64], (RowLoop { 0, 960 }));
    EXPECT_EQ (s.loops[65], (RowLoop { 960, 5000 }));

    // A loop that becomes whole after the length changes is dropped by the next normalisation.
    s.setLength (960);
    s.normalise();
    EXPECT_FALSE (s.loops[64].isSet());
}

TEST (SequenceModel, setLengthClampsPlaybackStartAndTheLengthItself)
{
    Sequence s;
    s.playbackStart = 500;
    s.setLength (0);
    EXPECT_EQ (s.getLength(), 0);
    EXPECT_EQ (s.playbackStart, 500);
    EXPECT_EQ (s.getEffectivePlaybackStart(), 0);

    s.setLength (100);
    EXPECT_EQ (s.playbackStart, 99);

    s.setLength (-20);
    EXPECT_EQ (s.getLength(), 0);

    s.setLength (std::numeric_limits<int>::max());
    EXPECT_EQ (s.getLength(), Sequence::maxLength);
}

TEST (SequenceModel, copiesAreDeepAndKeepPlaybackStart)
{
    Sequence original;
    original.setLength (7680);
    original.playbackStart = 960;
    original.notes.push_back (makeNote (5, 100, 10));
    original.lanes.push_back ({});

    Sequence copy (original);
    copy.notes[0].number = 9;
    copy.lanes[0].points.push_back ({});

    EXPECT_EQ (original.notes[0].number, 5);
    EXPECT_TRUE (original.lanes[0].points.empty());
    EXPECT_EQ (copy.playbackStart, 960);

    Sequence assigned;
    assigned = original;
    EXPECT_EQ (assigned.getLength(), 7680);
    EXPECT_EQ (assigned.notes, original.notes);
}

TEST (SequenceModel, setLaneReplacesTheLaneWithTheSameKeyOnly)
{
    Sequence s;

    ControllerLane modulation;
    modulation.type = ControllerLane::controlChange;
    modulation.number = 1;

    ControllerLane volume = modulation;
    volume.number = 7;

    s.setLane (modulation);
    s.setLane (volume);
    ASSERT_EQ (s.lanes.size(), 2u);

    ControllerLane bend;
    bend.points = { { 0, 100, 0.5f, 0 } };
    s.setLane (bend);
    bend.points = { { 0, -100, 0.5f, 0 } };
    bend.name = "Wobble";
    s.setLane (bend);

    ASSERT_EQ (s.lanes.size(), 3u);
    EXPECT_EQ (s.lanes[2].points[0].value, -100);
    EXPECT_EQ (s.lanes[2].name, "Wobble");

    // A pitch bend lane on another channel is another lane.
    bend.channel = 2;
    s.setLane (bend);
    EXPECT_EQ (s.lanes.size(), 4u);
}

TEST (SequenceModel, laneDisplayNames)
{
    ControllerLane lane;
    lane.type = ControllerLane::controlChange;
    lane.number = 1;
    EXPECT_EQ (lane.getDisplayName(), "CC 1 - Modulation Wheel");

    lane.number = 20;
    EXPECT_EQ (lane.getDisplayName(), "CC 20");

    lane.number = 7;
    lane.channel = 3;
    EXPECT_EQ (lane.getDisplayName(), "CC 7 - Volume (Ch: 3)");

    lane.type = ControllerLane::pitchBend;
    lane.channel = 2;
    EXPECT_EQ (lane.getDisplayName(), "Pitch Bend (Ch: 2)");

    lane.channel = 1;
    EXPECT_EQ (lane.getDisplayName(), "Pitch Bend");

    lane.name = "Filter";
    lane.channel = 5;
    EXPECT_EQ (lane.getDisplayName(), "Filter (Ch: 5)");
}

#pragma once

#include <tarn/sequence/Sequence.h>

#include <juce_core/juce_core.h>

#include <tuple>
#include <vector>

namespace cadenzium::test
{

inline tarn::SequenceNote makeNote (int row, int timestamp, int length, int velocity = 100, int velocityMax = -1)
{
    tarn::SequenceNote note;
    note.number = row;
    note.timestamp = timestamp;
    note.length = length;
    note.velocityMin = velocity;
    note.velocityMax = std::max (velocity, velocityMax);
    return note;
}

/** A note struck again within its length: `count` equal strikes, or at `rate`. */
inline tarn::SequenceNote makeRepeatingNote (int row, int start, int length, int style, int count, tarn::GridSize rate = {})
{
    auto note = makeNote (row, start, length);
    note.repeatStyle = style;
    note.repeatCount = count;
    note.repeatRate = rate;
    return note;
}

inline tarn::Sequence makeSequence (std::vector<tarn::SequenceNote> notes, int length = tarn::Ticks::perWhole)
{
    tarn::Sequence sequence;
    sequence.setLength (length);
    sequence.notes = std::move (notes);
    sequence.normalise();
    return sequence;
}

/** A control change lane through the points. */
inline tarn::ControllerLane controlChange (int number, std::vector<tarn::ControllerPoint> points)
{
    tarn::ControllerLane lane;
    lane.type = tarn::ControllerLane::controlChange;
    lane.number = number;
    lane.points = std::move (points);
    return lane;
}

/** The note on a row at a start, whatever the order of notes that start together. */
inline const tarn::SequenceNote* findNote (const tarn::Sequence& s, int row, int timestamp)
{
    for (const auto& note : s.notes)
        if (note.number == row && note.timestamp == timestamp)
            return &note;

    return nullptr;
}

/** The notes as (row, start, length), in stored order. */
inline std::vector<std::tuple<int, int, int>> notesOf (const tarn::Sequence& s)
{
    std::vector<std::tuple<int, int, int>> notes;

    for (const auto& n : s.notes)
        notes.emplace_back (n.number, n.timestamp, n.length);

    return notes;
}

/** The rows, the length and the number of notes a random phrase may use. */
struct RandomPhraseShape
{
    int lowestRow = 0, numRows = 128;
    int maxSteps = 64; // the length is 1..maxSteps sixteenths
    int maxNotes = 40;
};

/** A phrase drawn from `random`: notes that end inside it (very short ones too) with ranges,
    chance and repeats of every kind, sometimes a loop count and a turned start, a few row
    loops and lanes. */
inline tarn::Sequence makeRandomSequence (juce::Random& random, RandomPhraseShape shape = {})
{
    tarn::Sequence s;
    s.setLength (240 * (1 + random.nextInt (shape.maxSteps)));
    s.playbackStart = random.nextInt (4) == 0 ? random.nextInt (s.getLength()) : 0;
    s.loopCount = random.nextInt (6) - 1;
    s.name = random.nextBool() ? juce::String() : "Phrase " + juce::String (random.nextInt (100));

    for (int i = random.nextInt (shape.maxNotes + 1); --i >= 0;)
    {
        const auto start = random.nextInt (s.getLength()), velocity = 1 + random.nextInt (127);
        const auto room = s.getLength() - start;
        const auto length = random.nextInt (3) == 0 ? 1 + random.nextInt (std::min (30, room)) : random.nextInt (room + 1);
        auto note = makeNote (shape.lowestRow + random.nextInt (shape.numRows), start, length, velocity, velocity + random.nextInt (128 - velocity));
        note.chance = random.nextInt (3) == 0 ? random.nextInt (101) : 100;
        note.transposeMin = random.nextInt (7) - 3;
        note.transposeMax = note.transposeMin + random.nextInt (4);
        note.octaveMin = random.nextInt (3) - 1;
        note.octaveMax = note.octaveMin + random.nextInt (2);
        note.repeatStyle = random.nextInt (3);

        if (note.repeatStyle == tarn::SequenceNote::repeatAtRate)
            note.repeatRate = tarn::GridSize::all()[(size_t) random.nextInt ((int) tarn::GridSize::all().size())];

        if (note.repeatStyle != tarn::SequenceNote::noRepeats)
            note.repeatCount = note.repeatStyle == tarn::SequenceNote::repeatAtRate ? note.repeatRate.identifier : 2 + random.nextInt (15);

        s.notes.push_back (note);
    }

    for (int i = random.nextInt (4); --i >= 0;)
    {
        const auto start = random.nextInt (s.getLength());
        s.loops[(size_t) (shape.lowestRow + random.nextInt (shape.numRows))] = { start, start + 1 + random.nextInt (s.getLength() - start) };
    }

    for (int i = random.nextInt (3); --i >= 0;)
    {
        tarn::ControllerLane lane;
        lane.type = random.nextInt (2);
        lane.number = lane.type == tarn::ControllerLane::controlChange ? random.nextInt (120) : -1; // 120..127 are channel modes
        lane.channel = 1 + random.nextInt (16);
        lane.name = random.nextBool() ? juce::String() : "Lane";

        for (int p = random.nextInt (5); --p >= 0;)
            lane.points.push_back ({ random.nextInt (s.getLength()), random.nextInt (128), random.nextFloat(), random.nextInt (3) });

        s.lanes.push_back (lane);
    }

    s.normalise();
    return s;
}

} // namespace cadenzium::test

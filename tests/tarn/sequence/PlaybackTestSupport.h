#pragma once

#include <tarn/sequence/AdvancedSequenceManager.h>
#include <tarn/sequence/MidiMessageSequencePlayer.h>
#include <tarn/sequence/PitchOffsetMessage.h>
#include <tarn/sequence/SequenceRenderer.h>

#include <array>
#include <vector>

namespace cadenzium::test
{

inline tarn::SequenceNote makeNote (int number, int timestamp, int length, int velocity = 100, int velocityMax = -1)
{
    tarn::SequenceNote note;
    note.number = number;
    note.timestamp = timestamp;
    note.length = length;
    note.velocityMin = velocity;
    note.velocityMax = std::max (velocity, velocityMax);
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

/** A phrase drawn from `random`: notes on `numRows` rows from `lowestRow` that end inside
    the phrase, with ranges, chance and repeats of every kind, a few row loops and lanes. */
inline tarn::Sequence makeRandomSequence (juce::Random& random, int lowestRow = 0, int numRows = 128)
{
    tarn::Sequence s;
    s.setLength (240 * (1 + random.nextInt (64)));
    s.playbackStart = random.nextInt (s.getLength());
    s.loopCount = random.nextInt (6) - 1;
    s.name = random.nextBool() ? juce::String() : "Phrase " + juce::String (random.nextInt (100));

    for (int i = random.nextInt (40); --i >= 0;)
    {
        const auto start = random.nextInt (s.getLength()), velocity = 1 + random.nextInt (127);
        auto note = makeNote (lowestRow + random.nextInt (numRows), start, random.nextInt (s.getLength() - start + 1), velocity, velocity + random.nextInt (128 - velocity));
        note.chance = random.nextInt (101);
        note.transposeMin = random.nextInt (7) - 3;
        note.transposeMax = note.transposeMin + random.nextInt (4);
        note.octaveMin = random.nextInt (3) - 1;
        note.octaveMax = note.octaveMin + random.nextInt (2);
        note.repeatStyle = random.nextInt (3);

        if (note.repeatStyle == tarn::SequenceNote::repeatAtRate)
            note.repeatRate = tarn::GridSize::all()[(size_t) random.nextInt (24)];

        if (note.repeatStyle != tarn::SequenceNote::noRepeats)
            note.repeatCount = note.repeatStyle == tarn::SequenceNote::repeatAtRate ? note.repeatRate.identifier : 2 + random.nextInt (15);
        s.notes.push_back (note);
    }

    for (int i = random.nextInt (4); --i >= 0;)
    {
        const auto start = random.nextInt (s.getLength());
        s.loops[(size_t) (lowestRow + random.nextInt (numRows))] = { start, start + 1 + random.nextInt (s.getLength() - start) };
    }

    for (int i = random.nextInt (3); --i >= 0;)
    {
        tarn::ControllerLane lane;
        lane.type = random.nextInt (2);
        lane.number = lane.type == tarn::ControllerLane::controlChange ? random.nextInt (128) : -1;
        lane.channel = 1 + random.nextInt (16);
        lane.name = random.nextBool() ? juce::String() : "Lane";

        for (int p = random.nextInt (5); --p >= 0;)
            lane.points.push_back ({ random.nextInt (s.getLength()), random.nextInt (128), random.nextFloat(), random.nextInt (3) });

        s.lanes.push_back (lane);
    }

    s.normalise();
    return s;
}

/** The note on a row at a start, whatever the order of notes that start together. */
inline const tarn::SequenceNote* findNote (const tarn::Sequence& s, int number, int timestamp)
{
    for (const auto& note : s.notes)
        if (note.number == number && note.timestamp == timestamp)
            return &note;

    return nullptr;
}

/** A rendering with fixed draws, ready to load into a player. */
inline tarn::MidiMessageSequencePlayer::Rendering prepareRendering (const tarn::Sequence& sequence, juce::int64 seed, juce::uint32 version = 1)
{
    juce::Random random (seed);
    return tarn::MidiMessageSequencePlayer::Rendering::prepare (tarn::renderSequence (sequence, random), version);
}

/** A message the player put out, at its sample on the whole timeline. */
struct PlayedMessage
{
    juce::int64 sample = 0;
    juce::MidiMessage message;
};

/** Counts sounding notes per channel and key at a synth's input: +1 per note-on, -1 per
    note-off; a note-off for a silent key is recorded as a stray. Reads wrapped messages. */
class NoteCounter
{
public:
    void add (const juce::MidiMessage& raw)
    {
        const auto message = tarn::PitchOffsetMessage::unwrap (raw).message;

        if (! message.isNoteOnOrOff())
            return;

        auto& count = counts[(size_t) message.getChannel() - 1][(size_t) message.getNoteNumber()];

        if (message.isNoteOn())
            ++count;
        else if (count > 0)
            count = 0; // one note-off ends a key however often it was struck
        else
            ++strayNoteOffs;
    }

    void add (const juce::MidiBuffer& buffer)
    {
        for (const auto metadata : buffer)
            add (metadata.getMessage());
    }

    int numSounding() const
    {
        int total = 0;

        for (const auto& channel : counts)
            for (auto count : channel)
                total += count > 0 ? 1 : 0;

        return total;
    }

    int strayNoteOffs = 0;

private:
    std::array<std::array<int, 128>, 16> counts {};
};

/** Plays blocks one after the other from a start position, keeping the absolute sample of
    everything that comes out. */
template <typename Playable>
class BlockDriver
{
public:
    BlockDriver (Playable& playableToDrive, double sampleRateToUse, double bpmToUse, double startPpq = 0.0)
        : playable (playableToDrive)
        , sampleRate (sampleRateToUse)
        , position (tarn::BlockPosition::playing (startPpq, bpmToUse))
    {
        buffer.ensureSize ((size_t) tarn::MidiMessageSequencePlayer::maxMessagesPerBlock * 16);
    }

    /** Plays `numBlocks` blocks of `blockSize` samples. */
    void play (int blockSize, int numBlocks)
    {
        for (int i = 0; i < numBlocks; ++i)
            playOne (blockSize);
    }

    void playOne (int blockSize, int startSample = -1, int stopSample = -1)
    {
        buffer.clear();

        if constexpr (std::is_same_v<Playable, tarn::MidiMessageSequencePlayer>)
            lastResult = playable.playBlock (buffer, blockSize, position, startSample, stopSample);
        else
            lastResult = playable.playBlock (buffer, blockSize, position);

        collect (blockSize);
    }

    /** Everything that came out of the last block goes into `played` and the counter. */
    void collect (int blockSize)
    {
        for (const auto metadata : buffer)
        {
            played.push_back ({ samplesPlayed + metadata.samplePosition, metadata.getMessage() });
            counter.add (metadata.getMessage());
        }

        samplesPlayed += blockSize;
        position = position.advancedBy (blockSize, sampleRate);
    }

    std::vector<PlayedMessage> notesOnly() const
    {
        std::vector<PlayedMessage> notes;

        for (const auto& p : played)
            if (tarn::PitchOffsetMessage::unwrap (p.message).message.isNoteOnOrOff())
                notes.push_back (p);

        return notes;
    }

    Playable& playable;
    double sampleRate;
    tarn::BlockPosition position;
    juce::MidiBuffer buffer;
    juce::int64 samplesPlayed = 0;
    std::vector<PlayedMessage> played;
    NoteCounter counter;
    tarn::MidiMessageSequencePlayer::BlockResult lastResult;
};

} // namespace cadenzium::test

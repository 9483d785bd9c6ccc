#pragma once

#include <tarn/sequence/AdvancedSequenceManager.h>
#include <tarn/sequence/MidiMessageSequencePlayer.h>
#include <tarn/sequence/PitchOffsetMessage.h>
#include <tarn/sequence/SequenceRenderer.h>
#include <tests/support/MidiEvents.h>
#include <tests/support/Phrases.h>

#include <vector>

namespace cadenzium::test
{

/** A rendering with fixed draws, ready to load into a player. */
inline tarn::MidiMessageSequencePlayer::Rendering prepareRendering (const tarn::Sequence& sequence, juce::int64 seed, juce::uint32 version = 1)
{
    juce::Random random (seed);
    return tarn::MidiMessageSequencePlayer::Rendering::prepare (tarn::renderSequence (sequence, random), version);
}

/** The ticks of a pass's note-ons, of one key or of all (-1), pitch offsets unwrapped. */
inline std::vector<int> noteOnTicks (const juce::MidiMessageSequence& pass, int key = -1)
{
    std::vector<int> ticks;

    for (const auto* holder : pass)
        if (const auto message = tarn::PitchOffsetMessage::unwrap (holder->message).message; message.isNoteOn() && (key < 0 || message.getNoteNumber() == key))
            ticks.push_back ((int) holder->message.getTimeStamp());

    return ticks;
}

/** What a synth would hold after a pass, the player's way: a restrike is ended by one note-off. */
inline NoteCounter countNotes (const juce::MidiMessageSequence& pass)
{
    NoteCounter counter { NoteCounter::Restrikes::endedByOneNoteOff };

    for (const auto* holder : pass)
        counter.add (holder->message);

    return counter;
}

/** A message the player put out, at its sample on the whole timeline. */
struct PlayedMessage
{
    juce::int64 sample = 0;
    juce::MidiMessage message;
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
    NoteCounter counter { NoteCounter::Restrikes::endedByOneNoteOff };
    tarn::MidiMessageSequencePlayer::BlockResult lastResult;
};

/** A player with a phrase loaded, and the blocks that drive it. */
struct PlayerDriver
{
    PlayerDriver (const tarn::Sequence& phrase, juce::int64 seed, double sampleRate = 48000.0, double bpm = 120.0, double startPpq = 0.0)
        : driver (player, sampleRate, bpm, startPpq)
    {
        player.prepare (sampleRate);
        player.loadFull (prepareRendering (phrase, seed));
    }

    tarn::MidiMessageSequencePlayer player;
    BlockDriver<tarn::MidiMessageSequencePlayer> driver;
};

} // namespace cadenzium::test

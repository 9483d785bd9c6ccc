#pragma once

#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tests/support/AllocationCounter.h>
#include <tests/support/LockCounter.h>
#include <tests/support/MidiEvents.h>
#include <tests/support/Phrases.h>

#include <cmath>
#include <tuple>

namespace cadenzium::test
{

/** A host transport a test moves by hand: playing or stopped, tempo, position, loop. */
class SimulatedPlayHead : public juce::AudioPlayHead
{
public:
    bool present = true; // false: the host gives no position at all
    bool playing = true;
    bool hasTempo = true;
    double bpm = 120.0;
    double ppq = 0.0;
    bool looping = false;
    double loopStart = 0.0, loopEnd = 0.0;

    juce::Optional<PositionInfo> getPosition() const override
    {
        if (! present)
            return {};
        PositionInfo info;
        info.setIsPlaying (playing);
        info.setIsLooping (looping);
        if (hasTempo)
            info.setBpm (bpm);
        info.setPpqPosition (ppq);
        info.setPpqPositionOfLastBarStart (std::floor (ppq / 4.0) * 4.0);
        info.setTimeSignature (TimeSignature { 4, 4 });
        if (looping)
            info.setLoopPoints (LoopPoints { loopStart, loopEnd });
        return info;
    }

    /** After a block: a playing transport moves on (and wraps at its loop end). */
    void advance (int numSamples, double sampleRate)
    {
        if (! playing)
            return;
        ppq += numSamples * bpm / (60.0 * sampleRate);
        if (looping && loopEnd > loopStart && ppq >= loopEnd)
            ppq -= loopEnd - loopStart;
    }
};

/** One phrase note: the row it plays, where, how long, how loud, and a fixed pitch offset. */
struct PhraseNote
{
    int row = 0;
    int tick = 0;
    int length = 480;
    int velocity = 100;
    int transpose = 0;
};

inline tarn::Sequence makePhrase (const std::vector<PhraseNote>& notes, int lengthInTicks = 3840)
{
    std::vector<tarn::SequenceNote> made;
    for (const auto& n : notes)
    {
        made.push_back (makeNote (n.row, n.tick, n.length, n.velocity));
        made.back().transposeMin = made.back().transposeMax = n.transpose;
    }
    return makeSequence (made, lengthInTicks);
}

inline CadenziumModifier makeRow (int type, int value = 0, int channel = 1, int transpose = 0, int octave = 0)
{
    CadenziumModifier row;
    std::tie (row.type, row.value, row.channel, row.transpose, row.octave) = std::tie (type, value, channel, transpose, octave);
    return row;
}

/** The processor driven like a host drives it: a play head, blocks of a fixed size, every
    pass rendered in the block that needs it (offline), the output collected with absolute
    sample times. At 120 bpm and 48 kHz a tick is 25 samples. */
class PluginHarness
{
public:
    static constexpr double sampleRate = 48000.0;
    static constexpr int samplesPerTick = 25;

    explicit PluginHarness (int blockSizeToUse = 500)
        : blockSize (blockSizeToUse)
    {
        processor.setNonRealtime (true);
        processor.setPlayHead (&playHead);
        processor.prepareToPlay (sampleRate, blockSize);
        audio.setSize (2, blockSize);
        midi.ensureSize (1 << 16);
    }

    ~PluginHarness() { processor.setPlayHead (nullptr); }

    void set (const char* parameterId, float rawValue) { processor.setRawParameterValueNotifyingHost (parameterId, rawValue); }

    void setPhrase (int slot, const tarn::Sequence& phrase) { processor.getPhraseManager().setSequence (slot, phrase, nullptr); }
    void setRows (const RowList& rows) { processor.getPhraseManager().setRows (rows); }

    /** One block; input samples are relative to the block, the output's are absolute. */
    std::vector<Event> block (const std::vector<Event>& input = {}) { return run (input, false); }

    /** One block through the host's bypass (VST2's effSetBypass, VST3's bypass parameter, LV2's "enabled" port). */
    std::vector<Event> bypassedBlock (const std::vector<Event>& input = {}) { return run (input, true); }

    /** From a sixteenth before `ppq` (a loop end) across it, then the transport stops; the note-ons played. */
    std::vector<Event> playAcrossAndStop (double ppq)
    {
        playHead.ppq = ppq - 0.25;
        const auto played = blocks (48);
        playHead.playing = false;
        block();
        return noteOns (played);
    }

    /** numBlocks empty blocks; their output in order. */
    std::vector<Event> blocks (int numBlocks)
    {
        std::vector<Event> all;
        for (int i = 0; i < numBlocks; ++i)
            for (const auto& e : block())
                all.push_back (e);
        return all;
    }

    /** Blocks until `tick` of the host timeline has been reached (from a playing start at 0). */
    std::vector<Event> playUntilTick (int tick) { return blocks ((int) std::ceil ((double) (tick * samplesPerTick - samplesPlayed) / blockSize)); }

    static std::vector<Event> noteOns (const std::vector<Event>& events)
    {
        std::vector<Event> result;
        for (const auto& e : events)
            if (e.isNoteOn())
                result.push_back (e);
        return result;
    }

    static std::vector<int> pitchesOf (const std::vector<Event>& events)
    {
        std::vector<int> pitches;
        for (const auto& e : events)
            pitches.push_back (e.data1);
        std::sort (pitches.begin(), pitches.end());
        return pitches;
    }

    const int blockSize;
    Cadenzium2AudioProcessor processor;
    SimulatedPlayHead playHead;
    NoteCounter counter;
    juce::int64 samplesPlayed = 0, lastBlockStart = 0;
    std::size_t processBlockAllocations = 0; // heap allocations made inside processBlock
    std::size_t processBlockLocks = 0; // locks and try-locks taken inside processBlock

private:
    juce::AudioBuffer<float> audio;
    juce::MidiBuffer midi;

    std::vector<Event> run (const std::vector<Event>& input, bool bypassed)
    {
        midi.clear();
        for (const auto& e : input)
            add (midi, e);
        audio.clear();

        if (bypassed)
        {
            processor.processBlockBypassed (audio, midi);
        }
        else
        {
            const ScopedAllocationCounter allocations;
            const ScopedLockCounter locks;
            processor.processBlock (audio, midi);
            processBlockAllocations += allocations.count();
            processBlockLocks += locks.counts().total();
        }

        counter.add (midi);
        auto out = eventsOf (midi);
        for (auto& e : out)
            e.sample += (int) samplesPlayed;
        lastBlockStart = samplesPlayed;
        samplesPlayed += blockSize;
        playHead.advance (blockSize, sampleRate);
        return out;
    }
};

} // namespace cadenzium::test

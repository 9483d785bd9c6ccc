// The host's state calls on a heavy song: twelve phrases of 64 notes, each with four
// controller lanes of 64 points, and 17 rows.

#include <source/commands/EditCommands.h>
#include <source/processor/Cadenzium2AudioProcessor.h>

#include <benchmark/benchmark.h>

namespace
{
void fillHeavySong (Cadenzium2AudioProcessor& processor)
{
    EditCommands commands (processor);
    juce::Random random (3);

    commands.newRows (17 - (int) processor.getPhraseManager().getRows().size());

    for (int cc : { 1, 7, 11 })
        commands.newController ({ tarn::ControllerLane::controlChange, cc, 1, {} });

    commands.newController ({ tarn::ControllerLane::pitchBend, -1, 1, {} });

    for (int slot = 0; slot < Cadenzium2AudioProcessor::numPhrases; ++slot)
    {
        auto phrase = processor.getPhrase (slot);
        phrase.setLength (4 * tarn::Ticks::perWhole);

        for (int i = 0; i < 64; ++i)
        {
            tarn::SequenceNote note;
            note.number = random.nextInt (17);
            note.timestamp = i * 240;
            note.length = 120 + random.nextInt (600);
            note.velocityMin = 60 + random.nextInt (30);
            note.velocityMax = note.velocityMin + random.nextInt (30);
            note.chance = 50 + random.nextInt (51);
            note.transposeMin = -random.nextInt (3);
            phrase.notes.push_back (note);
        }

        for (auto& lane : phrase.lanes)
        {
            const auto isBend = lane.type == tarn::ControllerLane::pitchBend;

            for (int i = 0; i < 64; ++i)
                lane.points.push_back ({ i * 240, isBend ? random.nextInt (16384) - 8192 : random.nextInt (128), random.nextFloat(), random.nextInt (3) });
        }

        phrase.normalise();
        commands.editPhrase (slot, phrase);
    }
}

/** One host save followed by one host restore of the same song. */
void saveAndRestoreHeavySong (benchmark::State& state)
{
    Cadenzium2AudioProcessor processor;
    fillHeavySong (processor);
    juce::MemoryBlock chunk;

    for (auto _ : state)
    {
        processor.getStateInformation (chunk);
        processor.setStateInformation (chunk.getData(), (int) chunk.getSize());
    }

    state.counters["chunk_bytes"] = (double) chunk.getSize();
}

/** A restore of a song that differs from the one playing in every phrase: every phrase is
    rendered and loaded again. */
void restoreADifferentHeavySong (benchmark::State& state)
{
    Cadenzium2AudioProcessor processor, other;
    fillHeavySong (other);
    juce::MemoryBlock heavy, empty;
    other.getStateInformation (heavy);
    processor.getStateInformation (empty);

    for (auto _ : state)
    {
        processor.setStateInformation (heavy.getData(), (int) heavy.getSize());
        state.PauseTiming();
        processor.setStateInformation (empty.getData(), (int) empty.getSize());
        state.ResumeTiming();
    }
}

/** A host restoring the song that plays: nothing needs loading again. */
void restoreTheSameHeavySong (benchmark::State& state)
{
    Cadenzium2AudioProcessor processor;
    fillHeavySong (processor);
    juce::MemoryBlock chunk;
    processor.getStateInformation (chunk);

    for (auto _ : state)
        processor.setStateInformation (chunk.getData(), (int) chunk.getSize());
}

void saveHeavySong (benchmark::State& state)
{
    Cadenzium2AudioProcessor processor;
    fillHeavySong (processor);
    juce::MemoryBlock chunk;

    for (auto _ : state)
        processor.getStateInformation (chunk);
}
} // namespace

BENCHMARK (saveAndRestoreHeavySong)->Unit (benchmark::kMillisecond);
BENCHMARK (restoreADifferentHeavySong)->Unit (benchmark::kMillisecond);
BENCHMARK (restoreTheSameHeavySong)->Unit (benchmark::kMillisecond);
BENCHMARK (saveHeavySong)->Unit (benchmark::kMillisecond);

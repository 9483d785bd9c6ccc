#include <source/generation/ControllerGeneration.h>
#include <source/generation/PhraseGenerator.h>
#include <source/generation/PhraseMutator.h>

#include <benchmark/benchmark.h>

namespace
{
constexpr int fourBars = 4 * tarn::Ticks::perWhole;

RowList makeRows (int count)
{
    RowList rows ((size_t) count);

    for (int i = 0; i < count; ++i)
        rows[(size_t) i].value = i;

    return rows;
}

tarn::Sequence makePhraseWithLanes()
{
    tarn::Sequence phrase;
    phrase.setLength (fourBars);

    for (int cc : { 1, 7, 11 })
    {
        tarn::ControllerLane lane;
        lane.type = tarn::ControllerLane::controlChange;
        lane.number = cc;
        phrase.lanes.push_back (lane);
    }

    phrase.lanes.push_back ({}); // pitch bend
    return phrase;
}

juce::ValueTree makeGenerationNode (const tarn::Sequence& phrase)
{
    auto node = ControllerGeneration::rebuildForLanes ({}, phrase.lanes);

    for (auto child : node)
    {
        child.setProperty (ControllerGeneration::Ids::enable, true, nullptr);
        child.setProperty (ControllerGeneration::Ids::density, 100.0, nullptr);
    }

    return node;
}

void generatePhraseOfChords (benchmark::State& state)
{
    const auto phrase = makePhraseWithLanes();
    const auto node = makeGenerationNode (phrase);
    const auto rows = makeRows (16);

    GenerationSettings settings;
    settings.polyphony = GenerationSettings::Polyphony::chords;
    settings.density = 100;
    settings.chordDensity = (float) state.range (0);
    settings.lengthIndex = 0; // 1/32: the most steps a walk can take
    juce::Random random (1);
    size_t notes = 0;

    for (auto _ : state)
    {
        auto result = PhraseGenerator::generate (phrase, rows, settings, node, consts::RegenerationMode::phrase, random);
        notes = result.notes.size();
        benchmark::DoNotOptimize (result);
    }

    state.counters["notes"] = (double) notes;
}

void mutatePhraseOf256Notes (benchmark::State& state)
{
    tarn::Sequence phrase;
    phrase.setLength (fourBars);

    for (int i = 0; i < 256; ++i)
    {
        tarn::SequenceNote note;
        note.number = i % 16;
        note.timestamp = (i / 16) * 960 + (i % 4) * 120;
        note.length = 120;
        note.velocityMin = 60;
        note.velocityMax = 90;
        phrase.notes.push_back (note);
    }

    phrase.normalise();
    const auto rows = makeRows (16);

    MutationSettings settings;
    settings.chance = 100;
    settings.timing = 2;
    settings.pitch = 3;
    settings.length = 50;
    settings.velocity = 32;
    PhraseMutator mutator (1);

    for (auto _ : state)
    {
        auto result = mutator.mutate (phrase, rows, settings, {});
        benchmark::DoNotOptimize (result);
    }
}
} // namespace

BENCHMARK (generatePhraseOfChords)->Arg (10)->Arg (100)->Unit (benchmark::kMillisecond);
BENCHMARK (mutatePhraseOf256Notes)->Unit (benchmark::kMillisecond);

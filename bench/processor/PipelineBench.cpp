// The whole processor, block by block, the way a host drives it in real time: twelve
// phrases of four bars with 64 notes and 4 controller lanes each, 17 rows with All and
// Random rows, a six-note chord held, key lock, velocity randomiser and scaler, swing and
// output range on, next passes rendered by the manager's worker. Reports the median and
// maximum processBlock time and the heap allocations per block after two warm-up passes.
// Hosts run their audio thread at real-time priority; run it the same way to measure what
// the blocks cost rather than the scheduler: `chrt -f 20 build/bench/pipeline_bench`.

#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/util/RandomSource.h>
#include <tests/source/processor/PluginHarness.h>
#include <tests/support/AllocationCounter.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int phraseTicks = 4 * 3840;
constexpr int passSamples = phraseTicks * 25; // 120 bpm at 48 kHz: 25 samples per tick
constexpr int numRows = 17;

tarn::Sequence makeHeavyPhrase (juce::Random& random)
{
    tarn::Sequence phrase;
    phrase.setLength (phraseTicks);

    for (int i = 0; i < 64; ++i)
    {
        tarn::SequenceNote note;
        note.number = random.nextInt (numRows);
        note.timestamp = random.nextInt (phraseTicks - 240);
        note.length = 120 + random.nextInt (240);
        note.velocityMin = 60 + random.nextInt (20);
        note.velocityMax = note.velocityMin + 20;
        note.transposeMin = -2;
        note.transposeMax = 2;
        phrase.notes.push_back (note);
    }

    for (int lane = 0; lane < 4; ++lane)
    {
        tarn::ControllerLane controller;
        controller.type = tarn::ControllerLane::controlChange;
        controller.number = 1 + lane;
        controller.channel = 1;

        for (int point = 0; point <= 8; ++point)
            controller.points.push_back ({ point * phraseTicks / 8, (point % 2) * 127, 0.3f, point % 3 });

        phrase.lanes.push_back (controller);
    }

    phrase.normalise();
    return phrase;
}

RowList makeHeavyRows()
{
    RowList rows;

    for (int i = 0; i < numRows; ++i)
    {
        CadenziumModifier row;
        row.type = i % CadenziumModifier::numTypes;
        row.value = row.type == CadenziumModifier::fixed ? 48 + i : i % 9;
        row.octave = (i % 3) - 1;
        row.channel = 1 + i % 2;
        rows.push_back (row);
    }

    return rows;
}

void set (Cadenzium2AudioProcessor& processor, const char* id, float value)
{
    processor.setRawParameterValueNotifyingHost (id, value);
}

void runProcessor (benchmark::State& state)
{
    namespace ids = ParameterIds;
    const auto blockSize = (int) state.range (0);
    tarn::RandomSource::setFixedSeed (7);
    juce::Random random (7);

    Cadenzium2AudioProcessor processor;
    cadenzium::test::SimulatedPlayHead playHead;
    processor.setPlayHead (&playHead);
    processor.getPhraseManager().setRows (makeHeavyRows());

    for (int slot = 0; slot < Cadenzium2AudioProcessor::numPhrases; ++slot)
        processor.getPhraseManager().setSequence (slot, makeHeavyPhrase (random), nullptr);

    set (processor, ids::lockToKey, 1.0f);
    processor.setKeySignature (KeySignature (2, *Scales::find ("Dorian")));
    set (processor, ids::randomVelocity, 12.0f);
    set (processor, ids::velocityScaleLow, 20.0f);
    set (processor, ids::velocityScaleHigh, 110.0f);
    set (processor, ids::swingAmount, 60.0f);
    processor.setSwingGridChoice (2);
    set (processor, ids::noteOutputRangeLow, 24.0f);
    set (processor, ids::noteOutputRangeHigh, 108.0f);
    processor.prepareToPlay (sampleRate, blockSize);

    juce::AudioBuffer<float> audio (2, blockSize);
    juce::MidiBuffer midi;
    midi.ensureSize (1 << 16);

    const auto blocksPerPass = passSamples / blockSize;
    const auto numBlocks = 12 * blocksPerPass; // two warm-up passes, ten measured
    std::vector<double> micros;
    micros.reserve ((size_t) numBlocks);
    std::size_t allocations = 0;
    int maxOutputEvents = 0;
    int noteOns = 0;

    for (auto _ : state)
    {
        for (int block = 0; block < numBlocks; ++block)
        {
            midi.clear();

            if (block == 0)
                for (auto note : { 48, 52, 55, 59, 62, 65 })
                    midi.addEvent (juce::MidiMessage::noteOn (1, note, (juce::uint8) (70 + note % 40)), 0);

            const auto startTime = std::chrono::steady_clock::now();
            std::size_t blockAllocations = 0;

            {
                cadenzium::test::ScopedAllocationCounter counter;
                processor.processBlock (audio, midi);
                blockAllocations = counter.count();
            }

            const auto endTime = std::chrono::steady_clock::now();
            playHead.advance (blockSize, sampleRate);

            if (block >= 2 * blocksPerPass)
            {
                micros.push_back (std::chrono::duration<double, std::micro> (endTime - startTime).count());
                allocations += blockAllocations;
                maxOutputEvents = std::max (maxOutputEvents, midi.getNumEvents());

                for (const auto m : midi)
                    if (m.numBytes == 3 && (m.data[0] & 0xf0) == 0x90 && m.data[2] > 0)
                        ++noteOns;
            }
        }
    }

    processor.setPlayHead (nullptr);
    std::sort (micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[micros.size() * 99 / 100];
    state.counters["p999_us"] = micros[micros.size() * 999 / 1000];
    // On a shared machine the maximum is the scheduler's: a block that wakes the render
    // worker at a pass boundary can be preempted by it unless it runs at real-time priority.
    state.counters["max_us"] = micros.back();
    state.counters["over_50us"] = (double) std::count_if (micros.begin(), micros.end(), [] (double us)
                                                          { return us > 50.0; });
    state.counters["allocs_per_block"] = (double) allocations / (double) micros.size();
    state.counters["max_events_out"] = maxOutputEvents;
    state.counters["blocks"] = (double) micros.size();
    state.counters["note_ons_per_pass"] = noteOns / 10.0;
    tarn::RandomSource::clearFixedSeed();
}
} // namespace

BENCHMARK (runProcessor)->Arg (64)->Arg (512)->Iterations (1)->Unit (benchmark::kMillisecond);

// The real-time stages of a block in pipeline order, under a heavy load: 17 rows with All
// and Random rows, a six-note chord, 64 phrase notes per 4 bars with 4 controller lanes,
// key lock, velocity randomiser and scaler, swing and output range on. Reports the median
// and maximum time per block and the heap allocations per block after warm-up.

#include <source/processor/InputRetrigger.h>
#include <source/processor/KeyLock.h>
#include <source/processor/NotePassthrough.h>
#include <source/processor/OutputNoteTracker.h>
#include <source/processor/RowListHolder.h>
#include <source/processor/RowResolver.h>
#include <source/processor/Swing.h>
#include <tarn/processor/NoteLatcher.h>
#include <tarn/processor/NoteRangeClipper.h>
#include <tarn/processor/VelocityRandomiser.h>
#include <tarn/processor/VelocityScaler.h>
#include <tarn/util/RandomSource.h>
#include <tests/support/AllocationCounter.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr double bpm = 120.0;
constexpr int samplesPerTick = 25; // 120 bpm, 48 kHz, 960 ticks per quarter note
constexpr int passLength = 16 * 960 * samplesPerTick; // four bars of 4/4

struct TimedEvent
{
    int sample;
    juce::MidiMessage message;
};

std::vector<TimedEvent> makePass (juce::Random& random, int numRows)
{
    std::vector<TimedEvent> events;

    for (int i = 0; i < 64; ++i)
    {
        const auto start = random.nextInt (16 * 960 - 240) * samplesPerTick;
        const auto row = random.nextInt (numRows);
        events.push_back ({ start, juce::MidiMessage::noteOn (1, row, (juce::uint8) (60 + random.nextInt (60))) });
        events.push_back ({ start + 240 * samplesPerTick, juce::MidiMessage::noteOff (1, row) });
    }

    for (int lane = 0; lane < 4; ++lane)
        for (int tick = 0; tick < 16 * 960; tick += 10)
            events.push_back ({ tick * samplesPerTick + lane, juce::MidiMessage::controllerEvent (1, 1 + lane, (tick / 10) % 128) });

    std::stable_sort (events.begin(), events.end(), [] (const auto& a, const auto& b)
                      { return a.sample < b.sample; });
    return events;
}

RowList makeRows()
{
    RowList rows;

    for (int i = 0; i < 17; ++i)
    {
        CadenziumModifier r;
        r.type = i % 6;
        r.value = r.type == CadenziumModifier::fixed ? 48 + i : i % 9;
        r.octave = (i % 3) - 1;
        r.channel = 1 + i % 2;
        rows.push_back (r);
    }

    return rows;
}

void runStages (benchmark::State& state)
{
    const auto blockSize = (int) state.range (0);
    tarn::RandomSource::setFixedSeed (42);
    juce::Random random (42);

    const auto rows = makeRows();
    const auto pass = makePass (random, (int) rows.size());
    const auto capacity = tarn::MidiScratchBuffer::bytesFor (tarn::MidiScratchBuffer::defaultEventCapacity);

    InputNoteTable table;
    KeyswitchExtractor keyswitches { table };
    NotePassthrough passthrough { table };
    tarn::NoteLatcher latcher;
    HeldNoteList held;
    RowListHolder rowHolder (rows);
    RowResolver resolver;
    KeyLock keyLock;
    tarn::VelocityRandomiser randomiser;
    tarn::VelocityScaler scaler;
    Swing swing;
    tarn::NoteRangeClipper clipper;
    OutputNoteTracker tracker;
    KeyswitchEvents keyswitchEvents;

    for (auto* stage : std::initializer_list<tarn::MidiStage*> { &latcher, &keyLock, &randomiser, &scaler, &swing, &clipper })
        stage->prepare (sampleRate, tarn::MidiScratchBuffer::defaultEventCapacity);

    swing.setAmount (0.6);
    swing.setGridChoice (2);
    randomiser.setAmount (12);
    scaler.setRange (20, 110);
    clipper.setRange (24, 108);
    latcher.setLatchActive (true);
    const KeySignature key (2, *Scales::find ("Dorian"));

    juce::MidiBuffer input, phrase, output, passed;
    for (auto* buffer : { &input, &phrase, &output, &passed })
        buffer->ensureSize (capacity);

    const int chord[] = { 48, 52, 55, 59, 62, 65 };

    const auto blocksPerPass = passLength / blockSize;
    const auto numBlocks = 12 * blocksPerPass; // two warm-up passes, ten measured
    std::vector<double> micros;
    micros.reserve ((size_t) numBlocks);
    std::size_t allocations = 0;
    size_t nextEvent = 0;

    for (auto _ : state)
    {
        for (int block = 0; block < numBlocks; ++block)
        {
            const auto blockStart = (juce::int64) block * blockSize;
            const auto passPosition = (int) (blockStart % passLength);

            input.clear();
            phrase.clear();
            output.clear();
            passed.clear();

            if (block == 0)
                for (auto note : chord)
                    input.addEvent (juce::MidiMessage::noteOn (1, note, (juce::uint8) 100), 0);

            if (passPosition == 0)
                nextEvent = 0;

            while (nextEvent < pass.size() && pass[nextEvent].sample < passPosition + blockSize)
            {
                phrase.addEvent (pass[nextEvent].message, pass[nextEvent].sample - passPosition);
                ++nextEvent;
            }

            const auto startTime = std::chrono::steady_clock::now();
            cadenzium::test::ScopedAllocationCounter counter;

            rowHolder.update();
            benchmark::DoNotOptimize (InputRetrigger::findTrigger (input, InputRetrigger::noteOn, keyswitches, held.getNotes()));
            keyswitchEvents.clear();
            keyswitches.extract (input, keyswitchEvents);
            passthrough.collect (input, passed, false, nullptr);
            latcher.process (input);
            held.update (input);
            resolver.setChord (held.getNotes());
            resolver.resolve (phrase, output, rowHolder.get(), { true, false });
            keyLock.setKey (key, true);
            keyLock.process (output);
            randomiser.process (output);
            scaler.process (output);
            swing.setBlock (blockSize, Swing::Position { (double) blockStart / (sampleRate * 60.0 / bpm), bpm });
            swing.process (output);
            clipper.process (output);
            tracker.record (output);

            const auto endTime = std::chrono::steady_clock::now();

            if (block >= 2 * blocksPerPass)
            {
                micros.push_back (std::chrono::duration<double, std::micro> (endTime - startTime).count());
                allocations += counter.count();
            }

            benchmark::DoNotOptimize (output.getNumEvents());
        }
    }

    std::sort (micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[micros.size() * 99 / 100];
    state.counters["p999_us"] = micros[micros.size() * 999 / 1000];
    state.counters["max_us"] = micros.back(); // on a shared machine this is the scheduler's
    state.counters["over_50us"] = (double) std::count_if (micros.begin(), micros.end(), [] (double us)
                                                          { return us > 50.0; });
    state.counters["allocs_per_block"] = (double) allocations / (double) micros.size();
    state.counters["blocks"] = (double) micros.size();
    tarn::RandomSource::clearFixedSeed();
}
} // namespace

BENCHMARK (runStages)->Arg (64)->Arg (512)->Iterations (1)->Unit (benchmark::kMillisecond);

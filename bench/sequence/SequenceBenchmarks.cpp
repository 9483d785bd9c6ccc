#include <tarn/sequence/AdvancedSequenceManager.h>
#include <tarn/sequence/SequenceRenderer.h>
#include <tests/support/AllocationCounter.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <pthread.h>
#include <thread>

using namespace tarn;

namespace
{
/** Four bars, 64 notes with velocity, transpose and octave ranges and chance, every fourth
    with repeats, two row loops, and four controller lanes of every shape. */
Sequence makeFourBarPhrase()
{
    Sequence s;
    s.setLength (4 * Ticks::perWhole);
    juce::Random random (1234);

    for (int i = 0; i < 64; ++i)
    {
        SequenceNote note;
        note.number = i % 12;
        note.timestamp = i * 240;
        note.length = 120 + random.nextInt (600);
        note.velocityMin = 40;
        note.velocityMax = 120;
        note.transposeMin = -2;
        note.transposeMax = 2;
        note.octaveMin = -1;
        note.octaveMax = 1;
        note.chance = 80;

        if (i % 4 == 0)
        {
            note.repeatStyle = i % 8 == 0 ? SequenceNote::repeatCountTimes : SequenceNote::repeatAtRate;
            note.repeatCount = i % 8 == 0 ? 4 : 105;
            note.repeatRate = GridSize::fromIdentifier (105);
        }

        s.notes.push_back (note);
    }

    s.loops[3] = { 0, 960 };
    s.loops[7] = { 1920, 2400 };

    for (int lane = 0; lane < 4; ++lane)
    {
        ControllerLane l;
        l.type = lane == 3 ? ControllerLane::pitchBend : ControllerLane::controlChange;
        l.number = lane + 1;
        const auto top = l.type == ControllerLane::pitchBend ? 8000 : 127;

        for (int p = 0; p <= 8; ++p)
            l.points.push_back ({ p * 1920, (p % 2) * top, 0.3f, (p + lane) % 3 });

        s.lanes.push_back (l);
    }

    s.normalise();
    return s;
}

void renderFourBarPhrase (benchmark::State& state)
{
    const auto phrase = makeFourBarPhrase();
    juce::Random random (99);
    size_t events = 0;

    for (auto _ : state)
    {
        auto rendering = renderSequence (phrase, random);
        events = (size_t) rendering.getNumEvents();
        benchmark::DoNotOptimize (rendering);
    }

    state.counters["events"] = (double) events;
}

/** Hosts run their audio thread in a real-time class, above every ordinary thread; without
    that, waking the render worker could hand it this thread's core in the middle of a block.
    Returns false where the system refuses (then the figures include such preemption). */
bool runAsAudioThread()
{
    sched_param parameters {};
    parameters.sched_priority = 50;
    return pthread_setschedparam (pthread_self(), SCHED_FIFO, &parameters) == 0;
}

void runAsOrdinaryThread()
{
    sched_param parameters {};
    pthread_setschedparam (pthread_self(), SCHED_OTHER, &parameters);
}

/** One slot playing a one-bar phrase at 120 bpm, 48 kHz, with the worker rendering every
    next pass: per-block cost and allocations, loop ends and swaps included. */
void playerBlock (benchmark::State& state)
{
    const auto blockSize = (int) state.range (0);
    AdvancedSequenceManager manager;
    manager.setCarryPitchOffset (true);
    manager.prepare (48000.0);
    auto phrase = makeFourBarPhrase();
    phrase.setLength (Ticks::perWhole);
    phrase.normalise();
    manager.setSequence (0, phrase, nullptr);

    juce::MidiBuffer buffer;
    buffer.ensureSize ((size_t) MidiMessageSequencePlayer::maxMessagesPerBlock * 16);
    auto position = BlockPosition::playing (0.0, 120.0);
    std::vector<double> micros;
    micros.reserve ((size_t) state.max_iterations);
    size_t allocations = 0;
    int passes = 0;
    double maxAtLoopEnd = 0.0;

    const auto realtime = runAsAudioThread();

    for (int warmUp = 0; warmUp < 8; ++warmUp)
    {
        buffer.clear();
        manager.playBlock (buffer, blockSize, position);
        position = position.advancedBy (blockSize, 48000.0);
    }

    for (auto _ : state)
    {
        buffer.clear();
        const cadenzium::test::ScopedAllocationCounter counter;
        const auto start = std::chrono::steady_clock::now();
        const auto passesInBlock = manager.playBlock (buffer, blockSize, position).passesCompleted;
        const auto end = std::chrono::steady_clock::now();
        allocations += counter.count();
        micros.push_back (std::chrono::duration<double, std::micro> (end - start).count());
        passes += passesInBlock;

        if (passesInBlock > 0)
            maxAtLoopEnd = std::max (maxAtLoopEnd, micros.back());
        position = position.advancedBy (blockSize, 48000.0);

        // Leave the worker the time a real audio period would.
        state.PauseTiming();
        while (manager.hasRenderingsInFlight())
            std::this_thread::sleep_for (std::chrono::microseconds (50));
        state.ResumeTiming();
    }

    if (realtime)
        runAsOrdinaryThread();

    std::sort (micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[micros.size() * 99 / 100];
    state.counters["max_us"] = micros.back();
    state.counters["allocs_per_block"] = (double) allocations / (double) micros.size();
    state.counters["loop_ends"] = passes;
    state.counters["max_loop_end_us"] = maxAtLoopEnd;
    state.counters["realtime_thread"] = realtime ? 1.0 : 0.0;
}
} // namespace

BENCHMARK (renderFourBarPhrase)->Unit (benchmark::kMicrosecond);
BENCHMARK (playerBlock)->Arg (64)->Iterations (60000)->Unit (benchmark::kMicrosecond);
BENCHMARK (playerBlock)->Arg (512)->Iterations (20000)->Unit (benchmark::kMicrosecond);

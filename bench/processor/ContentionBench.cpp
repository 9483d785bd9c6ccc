// The audio thread's block times while the other threads work on the plug-in. One thread
// plays 64-sample blocks at the pace of a 48 kHz host (a block every 1.33 ms) through twelve
// busy phrases; with contention, a host thread saves and restores the song in a loop and the
// message thread edits phrases, picks phrases to play and loads presets. Reports the median,
// 99.9th percentile and maximum processBlock time, and the locks the audio thread took.
// The audio thread asks for real-time priority, as hosts give theirs (realtime=1 when it got
// it); without it the maximum on a shared machine is mostly the scheduler's.

#include <tests/source/processor/ContentionLoad.h>
#include <tests/source/processor/PluginHarness.h>
#include <tests/support/LockCounter.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <pthread.h>
#include <thread>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 64;
constexpr int numBlocks = 6000; // eight seconds of audio
constexpr int phraseTicks = 2 * 3840;

tarn::Sequence makeBusyPhrase (juce::Random& random)
{
    tarn::Sequence phrase;
    phrase.setLength (phraseTicks);

    for (int i = 0; i < 32; ++i)
    {
        tarn::SequenceNote note;
        note.number = random.nextInt (8);
        note.timestamp = random.nextInt (phraseTicks - 240);
        note.length = 60 + random.nextInt (240);
        note.velocityMin = 60;
        note.velocityMax = 110;
        phrase.notes.push_back (note);
    }

    tarn::ControllerLane lane;
    lane.number = 1;
    lane.points = { { 0, 0, 0.3f, 0 }, { phraseTicks / 2, 127, 0.3f, 2 }, { phraseTicks - 1, 0, 0.3f, 1 } };
    phrase.lanes.push_back (lane);
    phrase.normalise();
    return phrase;
}

void runContention (benchmark::State& state)
{
    using namespace cadenzium::test;
    const bool contended = state.range (0) != 0;
    juce::Random random (3);

    Cadenzium2AudioProcessor processor;
    SimulatedPlayHead playHead;
    processor.setPlayHead (&playHead);

    for (int slot = 0; slot < Cadenzium2AudioProcessor::numPhrases; ++slot)
        processor.getPhraseManager().setSequence (slot, makeBusyPhrase (random), nullptr);

    processor.prepareToPlay (sampleRate, blockSize);
    ContentionLoad load (processor);

    std::vector<double> micros;
    micros.reserve ((size_t) numBlocks);
    ScopedLockCounter::Counts locks;
    bool realtime = false;

    for (auto _ : state)
    {
        std::atomic<bool> done { false };

        std::thread audio ([&]
                           {
                               sched_param priority {};
                               priority.sched_priority = 20;
                               realtime = pthread_setschedparam (pthread_self(), SCHED_FIFO, &priority) == 0;

                               juce::AudioBuffer<float> audioBuffer (2, blockSize);
                               juce::MidiBuffer midi;
                               midi.ensureSize (1 << 16);
                               const auto period = std::chrono::duration<double> (blockSize / sampleRate);
                               auto next = std::chrono::steady_clock::now();
                               const ScopedLockCounter lockCounter;

                               for (int block = 0; block < numBlocks; ++block)
                               {
                                   midi.clear();

                                   if (block == 0)
                                       for (auto note : { 48, 55, 60, 64 })
                                           midi.addEvent (juce::MidiMessage::noteOn (1, note, (juce::uint8) 90), 0);

                                   const auto start = std::chrono::steady_clock::now();
                                   processor.processBlock (audioBuffer, midi);
                                   const auto end = std::chrono::steady_clock::now();
                                   micros.push_back (std::chrono::duration<double, std::micro> (end - start).count());
                                   playHead.advance (blockSize, sampleRate);

                                   next += std::chrono::duration_cast<std::chrono::steady_clock::duration> (period);
                                   std::this_thread::sleep_until (next);
                               }

                               locks = lockCounter.counts();
                               done = true; });

        if (contended)
        {
            load.startHostThread();

            while (! done.load())
                load.messageThreadTurn();

            load.stopHostThread();
        }

        audio.join();
    }

    std::sort (micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p999_us"] = micros[micros.size() * 999 / 1000];
    state.counters["max_us"] = micros.back();
    state.counters["locks"] = (double) locks.total();
    state.counters["restores"] = (double) load.restores.load();
    state.counters["blocks"] = (double) micros.size();
    state.counters["realtime"] = realtime ? 1.0 : 0.0;
    processor.setPlayHead (nullptr);
}
} // namespace

BENCHMARK (runContention)->ArgName ("contended")->Arg (0)->Arg (1)->Iterations (1)->Unit (benchmark::kMillisecond)->UseRealTime();

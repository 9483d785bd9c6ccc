// Songs crafted to make a pass as costly as the formats allow (tests/support/HostileSongs.h):
// one pass rendered on its own, and the whole song loaded the three ways a user can load
// one (a host restoring its project, a preset file, a first-version preset). Goals: every
// load under 1 s; memory bounded by the render budget. The "peak_MB" counters are the
// growth of the process's peak resident memory over the load and the passes it starts.
// The headroom benchmark shows how far inside the budget the factory library's phrases are.

#include <source/import/V1PresetApplier.h>
#include <tarn/sequence/ControllerLaneRenderer.h>
#include <tarn/sequence/SequenceRenderer.h>
#include <tests/support/HostileSongs.h>

#include <benchmark/benchmark.h>

#include <fstream>
#include <malloc.h>
#include <thread>

namespace HostileSongs = cadenzium::test::HostileSongs;

namespace
{
/** The process's resident memory now and at its peak, in MB, from /proc. */
double residentMegabytes (const char* field)
{
    std::ifstream status ("/proc/self/status");
    std::string line;

    while (std::getline (status, line))
        if (line.rfind (field, 0) == 0)
            return std::stod (line.substr (std::string (field).size())) / 1024.0;

    return 0.0;
}

/** Starts measuring the peak afresh (Linux: writing 5 to clear_refs resets VmHWM). */
void resetPeakMemory()
{
    std::ofstream ("/proc/self/clear_refs") << "5";
}

void waitForPasses (Cadenzium2AudioProcessor& processor)
{
    while (processor.getPhraseManager().hasRenderingsInFlight())
        std::this_thread::sleep_for (std::chrono::milliseconds (1));
}

const tarn::Sequence& phraseOf (int index)
{
    static const auto songs = HostileSongs::all();
    return songs[(size_t) index].phrase;
}

const char* nameOf (int index)
{
    static const auto songs = HostileSongs::all();
    return songs[(size_t) index].name;
}

/** Times `load` on a fresh processor and measures the memory it and its passes take. */
template <typename Load>
void measureLoad (benchmark::State& state, Load&& load)
{
    double peak = 0.0;

    for (auto _ : state)
    {
        state.PauseTiming();
        auto processor = std::make_unique<Cadenzium2AudioProcessor>();
        waitForPasses (*processor);

        // Memory freed earlier goes back to the system, so the peak counts this load only.
        malloc_trim (0);
        const auto before = residentMegabytes ("VmRSS:");
        resetPeakMemory();
        state.ResumeTiming();

        load (*processor);

        state.PauseTiming();
        waitForPasses (*processor);
        peak = std::max (peak, residentMegabytes ("VmHWM:") - before);
        processor.reset();
        state.ResumeTiming();
    }

    state.counters["peak_MB"] = peak;
}

void renderOnePass (benchmark::State& state)
{
    const auto& phrase = phraseOf ((int) state.range (0));
    state.SetLabel (nameOf ((int) state.range (0)));
    int events = 0;

    for (auto _ : state)
    {
        tarn::RenderReport report;
        events = renderSequence (phrase, &report).getNumEvents();
    }

    state.counters["events"] = events;
}

/** The largest pass of any phrase of the factory library, against the budget. */
void factoryPhrasesAgainstTheBudget (benchmark::State& state)
{
    int mostMessages = 0, phrases = 0;
    juce::int64 mostLaneSamples = 0;

    for (auto _ : state)
    {
        for (const auto& entry : juce::RangedDirectoryIterator (juce::File (CADENZIUM_FACTORY_PRESETS), true, "*.bpre"))
        {
            const auto xml = juce::parseXML (entry.getFile());

            if (xml == nullptr)
                continue;

            for (const auto& node : juce::ValueTree::fromXml (*xml).getChildWithName ("sequences"))
            {
                const auto phrase = tarn::readSequence (node);
                juce::int64 laneSamples = 0;

                for (const auto& lane : phrase.lanes)
                    laneSamples += tarn::countLaneSamples (lane, phrase.getLength());

                mostMessages = std::max (mostMessages, renderSequence (phrase).getNumEvents());
                mostLaneSamples = std::max (mostLaneSamples, laneSamples);
                ++phrases;
            }
        }
    }

    state.counters["phrases"] = phrases / (double) state.iterations();
    state.counters["most_messages"] = mostMessages;
    state.counters["most_lane_samples"] = (double) mostLaneSamples;
    state.counters["budget_messages"] = tarn::RenderBudget::maxMessages;
    state.counters["budget_lane_samples"] = (double) tarn::RenderBudget::maxLaneSamples;
}

void loadThroughHostState (benchmark::State& state)
{
    const auto chunk = HostileSongs::makeChunk (phraseOf ((int) state.range (0)));
    state.SetLabel (nameOf ((int) state.range (0)));
    measureLoad (state, [&chunk] (Cadenzium2AudioProcessor& p) { p.setStateInformation (chunk.getData(), (int) chunk.getSize()); });
    state.counters["chunk_KB"] = (double) chunk.getSize() / 1024.0;
}

/** The same phrase in all twelve slots: every first pass is rendered during the load. */
void loadTwelveOfThemThroughHostState (benchmark::State& state)
{
    const auto chunk = HostileSongs::makeChunk (phraseOf ((int) state.range (0)), 12);
    state.SetLabel (nameOf ((int) state.range (0)));
    measureLoad (state, [&chunk] (Cadenzium2AudioProcessor& p) { p.setStateInformation (chunk.getData(), (int) chunk.getSize()); });
}

void loadThroughPresetFile (benchmark::State& state)
{
    const auto file = brindlex::BrindlexProcessor::getUserPresetFolder (Cadenzium2AudioProcessor::productName).getChildFile ("Hostile.bpre");
    file.getParentDirectory().createDirectory();

    // An installed library: the Initial Patch is entry 0, which always loads the default state.
    brindlex::BrindlexProcessor::getFactoryPresetFolder (Cadenzium2AudioProcessor::productName).createDirectory();
    file.replaceWithText (HostileSongs::makePresetText (phraseOf ((int) state.range (0))));
    state.SetLabel (nameOf ((int) state.range (0)));

    measureLoad (state, [&file] (Cadenzium2AudioProcessor& p)
                 {
                     auto& presets = p.getPresetManager();

                     for (const auto& entry : *presets.getPresetList())
                         if (entry.path == file.getFullPathName())
                             presets.loadPreset (entry.index); });

    file.deleteFile();
}

void loadThroughV1Preset (benchmark::State& state)
{
    const auto numNotes = (int) state.range (0);
    const auto file = juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("hostile-v1.bpre");
    file.replaceWithText (HostileSongs::makeV1Text (numNotes, numNotes == 0));
    state.SetLabel (numNotes == 0 ? "8 lanes swinging every beat" : (juce::String (numNotes) + " notes one after the other").toStdString());

    measureLoad (state, [&file] (Cadenzium2AudioProcessor& p) { V1PresetApplier::loadFile (p, file); });
    file.deleteFile();
}
} // namespace

BENCHMARK (factoryPhrasesAgainstTheBudget)->Iterations (1)->Unit (benchmark::kMillisecond);
BENCHMARK (renderOnePass)->DenseRange (0, 3)->Unit (benchmark::kMillisecond);
BENCHMARK (loadThroughHostState)->DenseRange (0, 3)->Iterations (3)->Unit (benchmark::kMillisecond);
BENCHMARK (loadTwelveOfThemThroughHostState)->DenseRange (0, 3)->Iterations (3)->Unit (benchmark::kMillisecond);
BENCHMARK (loadThroughPresetFile)->DenseRange (0, 3)->Iterations (3)->Unit (benchmark::kMillisecond);
BENCHMARK (loadThroughV1Preset)->Arg (10000)->Arg (0)->Iterations (3)->Unit (benchmark::kMillisecond);

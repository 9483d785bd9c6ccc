// How long the preset library takes to index a large collection, on its own and as
// part of constructing the plug-in (which a host does for every instance and scan).
// Goals: refresh of 2,000 presets in 20 folders under 200 ms; construction with that
// library under 250 ms.

#include <source/processor/Cadenzium2AudioProcessor.h>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace
{
constexpr int numFolders = 20;
constexpr int presetsPerFolder = 100;

/** A preset as the product will write it: the parameter state plus twelve phrases of
    notes, so files have a realistic size (about 37 KB). */
juce::String makePresetText (Cadenzium2AudioProcessor& processor, int number)
{
    auto element = processor.getPresetManager().createPresetElement ("Bench", "Preset number " + juce::String (number), "Arp,Bass");
    auto* sequences = element->createNewChildElement ("sequences");

    for (int phrase = 0; phrase < 12; ++phrase)
    {
        auto* sequence = sequences->createNewChildElement ("sequence");
        sequence->setAttribute ("length", 3840);
        auto* notes = sequence->createNewChildElement ("notes");

        for (int n = 0; n < 12; ++n)
        {
            auto* note = notes->createNewChildElement ("note");

            for (const auto* property : { "chance", "transpose_min", "transpose_max", "octave_min", "octave_max", "velocity_min", "velocity_max", "number", "timestamp", "length", "channel", "repeat_style" })
                note->setAttribute (property, n * 17 + phrase);
        }
    }

    return element->toString();
}

/** Writes the library once per process, under the benchmark's temporary HOME. */
void ensureLibrary()
{
    static bool written = false;

    if (written)
        return;

    Cadenzium2AudioProcessor processor;
    const auto factory = brindlex::BrindlexProcessor::getFactoryPresetFolder (Cadenzium2AudioProcessor::productName);
    juce::int64 bytes = 0;

    for (int folder = 0; folder < numFolders; ++folder)
    {
        const auto category = factory.getChildFile ("Category " + juce::String (folder));
        category.createDirectory();
        category.getChildFile ("_description.txt").replaceWithText ("Presets of category " + juce::String (folder));

        for (int i = 0; i < presetsPerFolder; ++i)
        {
            const auto file = category.getChildFile ("Preset " + juce::String (folder * presetsPerFolder + i) + ".bpre");
            file.replaceWithText (makePresetText (processor, i));
            bytes += file.getSize();
        }
    }

    std::printf ("Library: %d presets in %d folders, %.1f MB\n", numFolders * presetsPerFolder, numFolders, (double) bytes / 1.0e6);
    written = true;
}
} // namespace

static void refreshLibraryOf2000Presets (benchmark::State& state)
{
    ensureLibrary();
    Cadenzium2AudioProcessor processor;
    auto& presets = processor.getPresetManager();

    for (auto _ : state)
    {
        presets.refresh();
        benchmark::DoNotOptimize (presets.getNumPresets());
    }

    if (presets.getNumPresets() != numFolders * presetsPerFolder + 1)
        state.SkipWithError ("the library was not indexed completely");
}
BENCHMARK (refreshLibraryOf2000Presets)->Unit (benchmark::kMillisecond)->MinTime (2.0);

static void constructProcessorWith2000Presets (benchmark::State& state)
{
    ensureLibrary();

    for (auto _ : state)
    {
        Cadenzium2AudioProcessor processor;
        benchmark::DoNotOptimize (processor.getNumPrograms());
    }
}
BENCHMARK (constructProcessorWith2000Presets)->Unit (benchmark::kMillisecond)->MinTime (2.0);

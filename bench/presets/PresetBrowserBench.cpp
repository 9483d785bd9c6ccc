// How long the preset browser takes to answer a click at the largest library the index
// keeps (20,000 presets per root): a badge click filters the folder's presets again, and a
// refresh (after a save or an import) also collects the categories.
// Goals (CPU time): a badge click under 10 ms, a refresh of the browser's model under 50 ms.

#include <tarn/presets/PresetBrowserModel.h>
#include <tarn/presets/PresetIndex.h>

#include <benchmark/benchmark.h>

namespace
{
constexpr int numPresets = tarn::PresetIndex::maxPresetsPerRoot;
constexpr int numCategories = 60;

/** 200 folders of 100 presets, each preset with three of 60 categories. */
struct Library
{
    Library()
    {
        juce::ValueTree user ("f_user");
        tree.appendChild (user, nullptr);
        std::vector<tarn::PresetInfo> entries;

        for (int i = 0; i < numPresets; ++i)
        {
            if (i % 100 == 0)
                user.appendChild (juce::ValueTree (tarn::PresetIndex::makeFolderType ("Folder " + juce::String (i / 100))), nullptr);

            juce::ValueTree node ("preset");
            node.setProperty ("name", "Preset " + juce::String (i), nullptr);
            node.setProperty ("path", "/presets/User/Folder " + juce::String (i / 100) + "/Preset " + juce::String (i) + ".bpre", nullptr);
            node.setProperty ("categories", "Category " + juce::String (i % numCategories) + ",Category " + juce::String ((i * 7) % numCategories) + ",Category " + juce::String ((i * 13) % numCategories), nullptr);
            node.setProperty ("preset_index", i, nullptr);
            user.getChild (user.getNumChildren() - 1).appendChild (node, nullptr);
            entries.push_back (tarn::PresetInfo::fromIndexNode (node));
        }

        list = std::make_shared<const std::vector<tarn::PresetInfo>> (std::move (entries));
    }

    juce::ValueTree tree { "presets" };
    std::shared_ptr<const std::vector<tarn::PresetInfo>> list;
};

const Library& library()
{
    static const Library shared;
    return shared;
}

void badgeClickOverTheWholeLibrary (benchmark::State& state)
{
    tarn::PresetBrowserModel model;
    model.setLibrary (library().tree, library().list);
    model.toggleCategory ("Category 3");
    model.toggleCategory ("Category 17");
    model.setMatchMode (tarn::CategoryFilter::Match::all);

    for (auto _ : state)
    {
        model.toggleCategory ("Category 42");
        benchmark::DoNotOptimize (model.getVisible().size());
    }
}
BENCHMARK (badgeClickOverTheWholeLibrary)->Unit (benchmark::kMillisecond);

void refreshOfTheBrowsersModel (benchmark::State& state)
{
    tarn::PresetBrowserModel model;
    model.toggleCategory ("Category 3");

    for (auto _ : state)
    {
        model.setLibrary (library().tree, library().list);
        benchmark::DoNotOptimize (model.getCategories().size());
    }
}
BENCHMARK (refreshOfTheBrowsersModel)->Unit (benchmark::kMillisecond);
} // namespace

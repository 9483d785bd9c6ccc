#include "PresetTestFiles.h"

#include <tarn/presets/PresetBrowserModel.h>
#include <tests/support/TestSeed.h>

#include <map>

using namespace cadenzium::test;
using tarn::PresetBrowserModel;
using tarn::PresetInfo;

namespace
{
using PresetBrowserModelTest = PresetLibraryTest;

juce::StringArray namesOf (const std::vector<PresetInfo>& presets)
{
    juce::StringArray names;

    for (const auto& entry : presets)
        names.add (entry.name);

    return names;
}

void writeCategorised (const juce::File& file, const juce::String& categories, const juce::String& description = {})
{
    juce::StringPairArray attributes;
    attributes.set ("categories", categories);
    attributes.set ("description", description);
    writePresetFile (file, "cadenzium2", attributes);
}

PresetBrowserModel modelOf (tarn::PresetManager& presets)
{
    PresetBrowserModel model;
    model.setLibrary (presets.getIndexTree(), presets.getPresetList());
    return model;
}
} // namespace

TEST_F (PresetBrowserModelTest, aFolderHoldsThePresetsOfItsSubfoldersAndTheFactoryComesFirst)
{
    writeCategorised (factory.getChildFile ("Basslines/Root Pulse.bpre"), "Bass");
    writeCategorised (factory.getChildFile ("Basslines/Deep/Sub Drone.bpre"), "Bass,Drone");
    factory.getChildFile ("Basslines/_description.txt").replaceWithText ("Low lines");
    writeCategorised (factory.getChildFile ("Arpeggios/Rising.bpre"), "Arp");
    writeCategorised (user.getChildFile ("Mine.bpre"), "Pad");
    Cadenzium2AudioProcessor processor;

    auto model = modelOf (processor.getPresetManager());
    EXPECT_EQ (namesOf (model.getScope()), juce::StringArray ({ "Initial Patch", "Rising", "Root Pulse", "Sub Drone", "Mine" }));
    EXPECT_EQ (model.getFolderDescription(), "");

    model.selectFolder ({ "f_factory" });
    EXPECT_EQ (namesOf (model.getScope()), juce::StringArray ({ "Initial Patch", "Rising", "Root Pulse", "Sub Drone" }));

    model.selectFolder ({ "f_factory", "f_basslines" });
    EXPECT_EQ (namesOf (model.getScope()), juce::StringArray ({ "Root Pulse", "Sub Drone" }));
    EXPECT_EQ (model.getFolderDescription(), "Low lines");
    EXPECT_EQ (model.getScope()[1].index, 3) << "the entries keep their library numbers";

    model.selectFolder ({ "f_user", "f_basslines" });
    EXPECT_TRUE (model.getSelectedFolder().empty()) << "an unknown folder puts the whole library in scope";
    EXPECT_EQ (model.getScope().size(), 5u);
}

TEST_F (PresetBrowserModelTest, theFilterWorksWithinTheFolderAndAnEmptyFolderShowsNothing)
{
    writeCategorised (factory.getChildFile ("Chords/Stab.bpre"), "Chords,Short");
    writeCategorised (factory.getChildFile ("Chords/Pad.bpre"), "Chords,Long");
    writeCategorised (factory.getChildFile ("Leads/Line.bpre"), "Lead,Short");
    user.createDirectory();
    Cadenzium2AudioProcessor processor;
    auto model = modelOf (processor.getPresetManager());

    EXPECT_EQ (model.getCategories(), juce::StringArray ({ "Chords", "Lead", "Long", "Short", "Tools" }));
    model.toggleCategory ("Short");
    EXPECT_EQ (namesOf (model.getVisible()), juce::StringArray ({ "Stab", "Line" }));
    model.selectFolder ({ "f_factory", "f_chords" });
    EXPECT_EQ (namesOf (model.getVisible()), juce::StringArray ({ "Stab" }));
    model.setFilterMode (tarn::CategoryFilter::Mode::hide);
    EXPECT_EQ (namesOf (model.getVisible()), juce::StringArray ({ "Pad" }));
    model.clearCategories();
    EXPECT_EQ (namesOf (model.getVisible()), juce::StringArray ({ "Pad", "Stab" }));
    EXPECT_EQ (model.findVisibleRow (model.getVisible()[1]), 1);

    model.selectFolder ({ "f_user" });
    EXPECT_TRUE (model.getVisible().empty());
    EXPECT_FALSE (model.pickRandom (juce::Random::getSystemRandom()).has_value()) << "Random does nothing";
}

TEST (PresetBrowserModel, randomDrawsOnlyVisiblePresetsAndReachesEachOfThem)
{
    const auto seed = testSeed (20261207);
    SCOPED_TRACE ("seed " + std::to_string (seed));

    juce::ValueTree root ("presets");
    juce::ValueTree user ("f_user");
    root.appendChild (user, nullptr);
    std::vector<PresetInfo> list;

    for (int i = 0; i < 7; ++i)
    {
        juce::ValueTree node ("preset");
        node.setProperty ("name", "P" + juce::String (i), nullptr);
        node.setProperty ("path", "/u/P" + juce::String (i) + ".bpre", nullptr);
        node.setProperty ("categories", i % 2 == 0 ? "Even" : "Odd", nullptr);
        node.setProperty ("preset_index", i, nullptr);
        user.appendChild (node, nullptr);
        list.push_back (PresetInfo::fromIndexNode (node));
    }

    PresetBrowserModel model;
    model.setLibrary (root, std::make_shared<const std::vector<PresetInfo>> (list));
    model.toggleCategory ("Odd");
    ASSERT_EQ (namesOf (model.getVisible()), juce::StringArray ({ "P1", "P3", "P5" }));

    juce::Random random (seed);
    std::map<juce::String, int> drawn;

    for (int i = 0; i < 600; ++i)
    {
        const auto pick = model.pickRandom (random);
        ASSERT_TRUE (pick.has_value());
        ASSERT_GE (model.findVisibleRow (*pick), 0) << pick->name << " is not visible";
        ++drawn[pick->name];
    }

    ASSERT_EQ (drawn.size(), 3u) << "the first and the last visible preset are drawn too";

    for (const auto& [name, count] : drawn)
        EXPECT_NEAR (count, 200, 60) << name << ": uniform over the visible presets";
}

TEST_F (PresetBrowserModelTest, aRowShownBeforeASaveRenumberedTheListStillFindsItsOwnPreset)
{
    writeCategorised (user.getChildFile ("Bravo.bpre"), "Keys");
    writeCategorised (user.getChildFile ("Delta.bpre"), "Keys");
    Cadenzium2AudioProcessor processor;
    auto& presets = processor.getPresetManager();
    const auto model = modelOf (presets);
    const auto shownDelta = model.getVisible()[(size_t) model.getVisible().size() - 1];
    ASSERT_EQ (shownDelta.name, "Delta");

    // "Charlie" sorts between them: Delta moves one place down the list.
    presets.savePreset ("Charlie", "Ada", "", "Keys");
    const auto list = presets.getPresetList();
    const auto newIndex = PresetBrowserModel::findLibraryIndex (shownDelta, *list);
    ASSERT_TRUE (newIndex.has_value());
    EXPECT_EQ (*newIndex, shownDelta.index + 1);
    EXPECT_EQ ((*list)[(size_t) shownDelta.index].name, "Charlie") << "the row's old number now names another preset";

    ASSERT_TRUE (presets.loadPreset (*newIndex));
    EXPECT_EQ (presets.getCurrentPreset().path, shownDelta.path);

    EXPECT_EQ (PresetBrowserModel::findLibraryIndex (model.getVisible()[0], *list), 0) << "the Initial Patch has no file";
    user.getChildFile ("Delta.bpre").deleteFile();
    presets.refresh();
    EXPECT_FALSE (PresetBrowserModel::findLibraryIndex (shownDelta, *presets.getPresetList()).has_value()) << "a preset gone loads nothing";
}

TEST_F (PresetBrowserModelTest, aRefreshKeepsThePickedFolderAndDropsCategoriesNoPresetCarriesAnyMore)
{
    writeCategorised (user.getChildFile ("Loops/Alpha.bpre"), "Loop,Warm");
    writeCategorised (user.getChildFile ("Loops/Beta.bpre"), "Loop");
    Cadenzium2AudioProcessor processor;
    auto& presets = processor.getPresetManager();
    auto model = modelOf (presets);
    model.selectFolder ({ "f_user", "f_loops" });
    model.toggleCategory ("Warm");
    model.toggleCategory ("Loop");
    model.setMatchMode (tarn::CategoryFilter::Match::all);
    ASSERT_EQ (namesOf (model.getVisible()), juce::StringArray ({ "Alpha" }));

    struct RefreshCounter : tarn::PresetManager::Listener
    {
        void currentPresetChanged (const PresetInfo&) override {}
        void presetLibraryRefreshed() override { ++refreshes; }
        int refreshes = 0;
    } counter;
    presets.addListener (&counter);

    writeCategorised (user.getChildFile ("Loops/Alpha.bpre"), "Loop");
    writeCategorised (user.getChildFile ("Loops/Gamma.bpre"), "Loop");
    presets.refresh();
    EXPECT_EQ (counter.refreshes, 1) << "the library tells its listeners";
    presets.removeListener (&counter);
    model.setLibrary (presets.getIndexTree(), presets.getPresetList());
    EXPECT_EQ (model.getSelectedFolder(), PresetBrowserModel::FolderPath ({ "f_user", "f_loops" }));
    EXPECT_EQ (model.getFilter().selected, juce::StringArray ({ "Loop" }));
    EXPECT_EQ (namesOf (model.getVisible()), juce::StringArray ({ "Alpha", "Beta", "Gamma" }));

    user.getChildFile ("Loops").deleteRecursively();
    presets.refresh();
    model.setLibrary (presets.getIndexTree(), presets.getPresetList());
    EXPECT_TRUE (model.getSelectedFolder().empty());
    EXPECT_TRUE (model.getFilter().selected.isEmpty());
}

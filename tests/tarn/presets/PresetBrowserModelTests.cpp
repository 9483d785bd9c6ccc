#include "PresetTestFiles.h"

#include <tarn/presets/PresetBrowserModel.h>

using namespace cadenzium::test;
using tarn::PresetBrowserModel;
using tarn::PresetInfo;

namespace
{
using PresetBrowserModelTest = PresetLibraryTest;

PresetBrowserModel modelOf (tarn::PresetManager& presets)
{
    PresetBrowserModel model;
    model.setLibrary (presets.getIndexTree(), presets.getPresetList());
    return model;
}
} // namespace

TEST_F (PresetBrowserModelTest, theFilterWorksWithinTheFolderAndAnUnknownFolderPutsTheWholeLibraryInScope)
{
    writePresetFile (factory.getChildFile ("Chords/Stab.bpre"), "cadenzium2", { { "categories", "Chords,Short" } });
    writePresetFile (factory.getChildFile ("Chords/Pad.bpre"), "cadenzium2", { { "categories", "Chords,Long" } });
    writePresetFile (factory.getChildFile ("Leads/Line.bpre"), "cadenzium2", { { "categories", "Lead,Short" } });
    writePresetFile (user.getChildFile ("Mine.bpre"), "cadenzium2", { { "categories", "Short" } });
    Cadenzium2AudioProcessor processor;
    auto model = modelOf (processor.getPresetManager());

    EXPECT_EQ (namesOf (model.getScope()), juce::StringArray ({ "Initial Patch", "Pad", "Stab", "Line", "Mine" })) << "the factory first";
    EXPECT_EQ (model.getCategories(), juce::StringArray ({ "Chords", "Lead", "Long", "Short", "Tools" }));
    model.toggleCategory ("Short");
    EXPECT_EQ (namesOf (model.getVisible()), juce::StringArray ({ "Stab", "Line", "Mine" }));
    model.selectFolder ({ "f_factory", "f_chords" });
    EXPECT_EQ (namesOf (model.getVisible()), juce::StringArray ({ "Stab" }));
    model.setFilterMode (tarn::CategoryFilter::Mode::hide);
    EXPECT_EQ (namesOf (model.getVisible()), juce::StringArray ({ "Pad" }));
    EXPECT_EQ (model.getVisible()[0].index, 1) << "the entries keep their library numbers";
    model.clearCategories();
    EXPECT_EQ (model.findVisibleRow (model.getVisible()[1]), 1);

    model.selectFolder ({ "f_user", "f_chords" });
    EXPECT_TRUE (model.getSelectedFolder().empty());
    EXPECT_EQ (model.getScope().size(), 5u);
}

TEST_F (PresetBrowserModelTest, aRefreshKeepsThePickedFolderAndDropsCategoriesNoPresetCarriesAnyMore)
{
    writePresetFile (user.getChildFile ("Loops/Alpha.bpre"), "cadenzium2", { { "categories", "Loop,Warm" } });
    writePresetFile (user.getChildFile ("Loops/Beta.bpre"), "cadenzium2", { { "categories", "Loop" } });
    Cadenzium2AudioProcessor processor;
    auto& presets = processor.getPresetManager();
    auto model = modelOf (presets);
    model.selectFolder ({ "f_user", "f_loops" });
    model.toggleCategory ("Warm");
    model.toggleCategory ("Loop");
    model.setMatchMode (tarn::CategoryFilter::Match::all);
    ASSERT_EQ (namesOf (model.getVisible()), juce::StringArray ({ "Alpha" }));
    const auto shownBeta = model.getScope()[1];

    writePresetFile (user.getChildFile ("Loops/Alpha.bpre"), "cadenzium2", { { "categories", "Loop" } });
    writePresetFile (user.getChildFile ("Loops/Gamma.bpre"), "cadenzium2", { { "categories", "Loop" } });
    presets.refresh();
    model.setLibrary (presets.getIndexTree(), presets.getPresetList());
    EXPECT_EQ (model.getSelectedFolder(), PresetBrowserModel::FolderPath ({ "f_user", "f_loops" }));
    EXPECT_EQ (model.getFilter().selected, juce::StringArray ({ "Loop" }));
    EXPECT_EQ (namesOf (model.getVisible()), juce::StringArray ({ "Alpha", "Beta", "Gamma" }));

    user.getChildFile ("Loops").deleteRecursively();
    presets.refresh();
    model.setLibrary (presets.getIndexTree(), presets.getPresetList());
    EXPECT_TRUE (model.getSelectedFolder().empty());
    EXPECT_TRUE (model.getFilter().selected.isEmpty());
    EXPECT_FALSE (PresetBrowserModel::findLibraryIndex (shownBeta, *presets.getPresetList()).has_value()) << "a preset gone loads nothing";
    EXPECT_EQ (PresetBrowserModel::findLibraryIndex (model.getScope()[0], *presets.getPresetList()), 0) << "the Initial Patch has no file";
}

TEST_F (PresetBrowserModelTest, theSearchFindsEachWordInNameAuthorCategoriesOrDescriptionAnyCaseWithinTheCategoryFilter)
{
    writePresetFile (user.getChildFile ("Warm Keys.bpre"), "cadenzium2", { { "categories", "Keys,Soft" }, { "author", "Ada" } });
    writePresetFile (user.getChildFile ("Stab.bpre"), "cadenzium2", { { "categories", "Keys,Short" }, { "description", "A bright WARM stab" } });
    writePresetFile (user.getChildFile ("Walker.bpre"), "cadenzium2", { { "categories", "Bass" }, { "author", "Grace" } });
    Cadenzium2AudioProcessor processor;
    auto model = modelOf (processor.getPresetManager());
    model.selectFolder ({ "f_user" });
    ASSERT_EQ (namesOf (model.getVisible()), juce::StringArray ({ "Stab", "Walker", "Warm Keys" }));

    model.setSearchText ("warm");
    EXPECT_EQ (namesOf (model.getVisible()), juce::StringArray ({ "Stab", "Warm Keys" })) << "a name, and a description in capitals";
    model.setSearchText ("GRACE");
    EXPECT_EQ (namesOf (model.getVisible()), juce::StringArray ({ "Walker" })) << "an author";
    model.setSearchText ("short");
    EXPECT_EQ (namesOf (model.getVisible()), juce::StringArray ({ "Stab" })) << "a category";
    model.setSearchText ("  keys   ada ");
    EXPECT_EQ (namesOf (model.getVisible()), juce::StringArray ({ "Warm Keys" })) << "every word must be found";
    model.setSearchText ("nothing like it");
    EXPECT_TRUE (model.getVisible().empty());

    // The badges and the search narrow together, and clearing the search restores the filter's view.
    model.setSearchText ("warm");
    model.toggleCategory ("Short");
    EXPECT_EQ (namesOf (model.getVisible()), juce::StringArray ({ "Stab" }));
    model.setFilterMode (tarn::CategoryFilter::Mode::hide);
    EXPECT_EQ (namesOf (model.getVisible()), juce::StringArray ({ "Warm Keys" }));
    model.setSearchText ({});
    EXPECT_EQ (namesOf (model.getVisible()), juce::StringArray ({ "Walker", "Warm Keys" }));
}

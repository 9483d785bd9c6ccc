#include "PresetTestFiles.h"

#include <tarn/presets/CategoryFilter.h>
#include <tarn/presets/PresetBrowserModel.h>

using namespace cadenzium::test;
using tarn::PresetBrowserModel;
using tarn::PresetInfo;
using tarn::CategoryFilter;
using Mode = CategoryFilter::Mode;
using Match = CategoryFilter::Match;

namespace
{
using PresetBrowserModelTest = PresetLibraryTest;

PresetBrowserModel modelOf (tarn::PresetManager& presets)
{
    PresetBrowserModel model;
    model.setLibrary (presets.getIndexTree(), presets.getPresetList());
    return model;
}

PresetInfo preset (const juce::String& name, const juce::String& categories)
{
    PresetInfo info;
    info.name = name;
    info.path = "/presets/" + name + ".bpre";
    info.categories = PresetInfo::parseCategories (categories);
    return info;
}

/** A: X only, B: Y only, C: both, D: none, E: "x" (X in the wrong case), F: X twice over with Z. */
const std::vector<PresetInfo> scope { preset ("A", "X"), preset ("B", "Y"), preset ("C", "Y,X"),
                                      preset ("D", ""), preset ("E", "x"), preset ("F", "Z,X") };

juce::String visibleNames (const juce::StringArray& selected, Mode mode, Match match)
{
    CategoryFilter filter;
    filter.selected = selected;
    filter.mode = mode;
    filter.match = match;

    juce::StringArray names;

    for (const auto& entry : filter.apply (scope))
        names.add (entry.name);

    return names.joinIntoString ("");
}
} // namespace

TEST (CategoryFilter, showHideAndAnyAllFollowTheirTruthTableAndLetterCaseCounts)
{
    // (selected, show or hide, any or all, visible)
    const std::tuple<juce::StringArray, Mode, Match, const char*> cases[] = {
        { { "X", "Y" }, Mode::show, Match::any, "ABCF" }, // m > 0
        { { "X", "Y" }, Mode::hide, Match::any, "DE" }, // m = 0
        { { "X", "Y" }, Mode::show, Match::all, "C" }, // m = s
        { { "X", "Y" }, Mode::hide, Match::all, "ABDEF" }, // m < s
        { { "X" }, Mode::show, Match::any, "ACF" }, { { "X" }, Mode::show, Match::all, "ACF" }, // one category: any and all agree
        { { "X" }, Mode::hide, Match::any, "BDE" }, { { "X" }, Mode::hide, Match::all, "BDE" },
        { {}, Mode::show, Match::any, "ABCDEF" }, { {}, Mode::show, Match::all, "ABCDEF" },
        { {}, Mode::hide, Match::any, "ABCDEF" }, { {}, Mode::hide, Match::all, "ABCDEF" },
        { { "x" }, Mode::show, Match::any, "E" }, // exact: letter case counts
        { { "x", "X" }, Mode::show, Match::all, "" },
    };

    for (const auto& [selected, mode, match, expected] : cases)
        EXPECT_EQ (visibleNames (selected, mode, match), expected) << selected.joinIntoString (",") << " " << (int) mode << " " << (int) match;

    CategoryFilter filter;
    filter.selected = { "Y", "X", "Z" };
    EXPECT_EQ (filter.countMatches (preset ("G", "x, y,Z ")), 1) << "only Z matches; the pieces are trimmed";

    // The badges: each spelling once, sorted without regard to case, numbers by value.
    const auto categories = CategoryFilter::collectCategories ({ preset ("1", "pad,Bass"), preset ("2", "bass,Arp 10"),
                                                                 preset ("3", "Arp 9, Bass"), preset ("4", "") });
    EXPECT_EQ (categories, juce::StringArray ({ "Arp 9", "Arp 10", "Bass", "bass", "pad" }));
    EXPECT_TRUE (CategoryFilter::collectCategories ({}).isEmpty());
}

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
    model.setFilterMode (Mode::hide);
    EXPECT_EQ (namesOf (model.getVisible()), juce::StringArray ({ "Pad" }));
    EXPECT_EQ (model.getVisible()[0].index, 1) << "the entries keep their library numbers";
    model.clearCategories();
    EXPECT_EQ (model.findVisibleRow (model.getVisible()[1]), 1);

    model.selectFolder ({ "f_user", "f_chords" });
    EXPECT_TRUE (model.getSelectedFolder().empty());
    EXPECT_EQ (model.getScope().size(), 5u);

    // The search narrows what the badges leave, in either mode (its fields and words are the
    // browser window's tests).
    model.toggleCategory ("Short");
    model.setSearchText ("  CHORDS ");
    EXPECT_EQ (namesOf (model.getVisible()), juce::StringArray ({ "Pad" }));
    model.setFilterMode (Mode::show);
    EXPECT_EQ (namesOf (model.getVisible()), juce::StringArray ({ "Stab" }));
    model.setSearchText ({});
    EXPECT_EQ (namesOf (model.getVisible()), juce::StringArray ({ "Stab", "Line", "Mine" }));
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
    model.setMatchMode (Match::all);
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

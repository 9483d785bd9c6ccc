#include <tarn/presets/CategoryFilter.h>

#include <gtest/gtest.h>

using tarn::CategoryFilter;
using tarn::PresetInfo;
using Mode = CategoryFilter::Mode;
using Match = CategoryFilter::Match;

namespace
{
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

TEST (CategoryFilter, showHideAndAnyAllFollowTheirTruthTableAndNothingSelectedShowsEverything)
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
    };

    for (const auto& [selected, mode, match, expected] : cases)
        EXPECT_EQ (visibleNames (selected, mode, match), expected) << selected.joinIntoString (",") << " " << (int) mode << " " << (int) match;
}

TEST (CategoryFilter, categoriesCompareExactlySoADifferenceInLetterCaseDoesNotMatch)
{
    EXPECT_EQ (visibleNames ({ "x" }, Mode::show, Match::any), "E");
    EXPECT_EQ (visibleNames ({ "x", "X" }, Mode::show, Match::all), "") << "no preset carries both spellings";

    CategoryFilter filter;
    filter.selected = { "Y", "X", "Z" };
    EXPECT_EQ (filter.countMatches (preset ("G", "x, y,Z ")), 1) << "only Z matches; the pieces are trimmed";
}

TEST (CategoryFilter, theCategoryListHoldsEachSpellingOnceSortedWithoutRegardToCase)
{
    const auto categories = CategoryFilter::collectCategories ({ preset ("1", "pad,Bass"), preset ("2", "bass,Arp 10"),
                                                                 preset ("3", "Arp 9, Bass"), preset ("4", "") });
    EXPECT_EQ (categories, juce::StringArray ({ "Arp 9", "Arp 10", "Bass", "bass", "pad" }));
    EXPECT_TRUE (CategoryFilter::collectCategories ({}).isEmpty());
}

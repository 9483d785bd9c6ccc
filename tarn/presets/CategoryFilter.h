#pragma once

#include "PresetInfo.h"

#include <vector>

namespace tarn
{

/** Which presets the browser's category badges let through.

    With no category selected every preset passes. Otherwise a preset is counted by how
    many of the selected categories it carries (m, compared exactly, letter case included)
    against how many are selected (s):

    | mode | match | visible when |
    |------|-------|--------------|
    | show | any   | m > 0        |
    | hide | any   | m = 0        |
    | show | all   | m = s        |
    | hide | all   | m < s        |

    A plain value; any thread. */
struct CategoryFilter
{
    enum class Mode
    {
        show,
        hide
    };

    enum class Match
    {
        any,
        all
    };

    juce::StringArray selected; // no duplicates
    Mode mode = Mode::show;
    Match match = Match::any;

    bool isActive() const noexcept { return ! selected.isEmpty(); }

    /** How many of the selected categories the preset carries. */
    int countMatches (const PresetInfo& preset) const;

    bool passes (const PresetInfo& preset) const;

    /** The presets of `scope` that pass, in scope order. */
    std::vector<PresetInfo> apply (const std::vector<PresetInfo>& scope) const;

    /** Every category the presets carry, once each (case counts: "Bass" and "bass" are
        two), sorted as a reader expects: alphabetically regardless of case, numbers by value. */
    static juce::StringArray collectCategories (const std::vector<PresetInfo>& presets);
};

} // namespace tarn

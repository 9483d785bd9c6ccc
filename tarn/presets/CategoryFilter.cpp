#include "CategoryFilter.h"

#include <set>

namespace tarn
{

int CategoryFilter::countMatches (const PresetInfo& preset) const
{
    int matches = 0;

    for (const auto& category : selected)
        if (preset.categories.contains (category, false))
            ++matches;

    return matches;
}

bool CategoryFilter::passes (const PresetInfo& preset) const
{
    if (! isActive())
        return true;

    const auto matches = countMatches (preset);
    const auto wanted = selected.size();

    if (match == Match::any)
        return mode == Mode::show ? matches > 0 : matches == 0;

    return mode == Mode::show ? matches == wanted : matches < wanted;
}

std::vector<PresetInfo> CategoryFilter::apply (const std::vector<PresetInfo>& scope) const
{
    std::vector<PresetInfo> visible;
    visible.reserve (scope.size());

    for (const auto& preset : scope)
        if (passes (preset))
            visible.push_back (preset);

    return visible;
}

juce::StringArray CategoryFilter::collectCategories (const std::vector<PresetInfo>& presets)
{
    std::set<juce::String> distinct; // juce::String's order compares code points: case counts

    for (const auto& preset : presets)
        for (const auto& category : preset.categories)
            distinct.insert (category);

    std::vector<juce::String> sorted (distinct.begin(), distinct.end());

    // Case-blind for the reader; names equal but for case keep the code-point order, so
    // the badges never swap places between refreshes.
    std::stable_sort (sorted.begin(), sorted.end(), [] (const juce::String& a, const juce::String& b)
                      { return a.compareNatural (b, false) < 0; });

    juce::StringArray result;

    for (const auto& category : sorted)
        result.add (category);

    return result;
}

} // namespace tarn

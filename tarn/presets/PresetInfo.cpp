#include "PresetInfo.h"

#include "PresetIndex.h"

namespace tarn
{

PresetInfo PresetInfo::makeInitialPatch()
{
    PresetInfo info;
    info.name = initialPatchName;
    info.isFactory = true;
    info.author = "Brindlex";
    info.categories = { "Tools" };
    info.description = "A blank patch";
    return info;
}

PresetInfo PresetInfo::fromIndexNode (const juce::ValueTree& node)
{
    using ids = PresetIndex::ids;

    PresetInfo info;
    info.name = node[ids::name].toString();
    info.index = (int) node[ids::presetIndex];
    info.isFactory = (bool) node[ids::factory];
    info.author = node[ids::author].toString();
    info.categories = parseCategories (node[ids::categories].toString());
    info.path = node[ids::path].toString();
    info.description = node[ids::description].toString();
    return info;
}

juce::StringArray PresetInfo::parseCategories (const juce::String& text)
{
    juce::StringArray pieces;
    pieces.addTokens (text, ",", {});
    pieces.trim();
    pieces.removeEmptyStrings();
    return pieces;
}

bool PresetInfo::operator== (const PresetInfo& o) const noexcept
{
    return name == o.name && index == o.index && isFactory == o.isFactory && author == o.author
           && categories == o.categories && path == o.path && description == o.description;
}

} // namespace tarn

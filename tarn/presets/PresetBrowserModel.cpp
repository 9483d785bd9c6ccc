#include "PresetBrowserModel.h"

#include "PresetIndex.h"

#include <algorithm>

namespace tarn
{

void PresetBrowserModel::setLibrary (const juce::ValueTree& newIndexTree, std::shared_ptr<const std::vector<PresetInfo>> list)
{
    indexTree = newIndexTree;
    library = list != nullptr ? std::move (list) : std::make_shared<const std::vector<PresetInfo>>();
    categories = CategoryFilter::collectCategories (*library);

    juce::StringArray kept;

    for (const auto& category : filter.selected)
        if (categories.contains (category, false))
            kept.add (category);

    filter.selected = kept;

    if (! selectedFolder.empty() && ! findFolder (indexTree, selectedFolder).isValid())
        selectedFolder.clear();

    updateScope();
}

void PresetBrowserModel::selectFolder (const FolderPath& folder)
{
    selectedFolder = findFolder (indexTree, folder).isValid() ? folder : FolderPath {};
    updateScope();
}

juce::String PresetBrowserModel::getFolderDescription() const
{
    return findFolder (indexTree, selectedFolder)[PresetIndex::ids::description].toString();
}

void PresetBrowserModel::toggleCategory (const juce::String& category)
{
    if (isCategorySelected (category))
        filter.selected.removeString (category, false);
    else
        filter.selected.add (category);

    updateVisible();
}

void PresetBrowserModel::clearCategories()
{
    filter.selected.clear();
    updateVisible();
}

void PresetBrowserModel::setFilterMode (CategoryFilter::Mode mode)
{
    filter.mode = mode;
    updateVisible();
}

void PresetBrowserModel::setMatchMode (CategoryFilter::Match match)
{
    filter.match = match;
    updateVisible();
}

int PresetBrowserModel::findVisibleRow (const PresetInfo& preset) const
{
    for (size_t row = 0; row < visible.size(); ++row)
        if (isSamePreset (visible[row], preset))
            return (int) row;

    return -1;
}

std::optional<PresetInfo> PresetBrowserModel::pickRandom (juce::Random& random) const
{
    if (visible.empty())
        return std::nullopt;

    return visible[(size_t) random.nextInt ((int) visible.size())];
}

//==============================================================================
bool PresetBrowserModel::isSamePreset (const PresetInfo& a, const PresetInfo& b)
{
    if (a.path.isNotEmpty() || b.path.isNotEmpty())
        return a.path == b.path;

    return a.isInitialPatch() && b.isInitialPatch();
}

std::optional<int> PresetBrowserModel::findLibraryIndex (const PresetInfo& shown, const std::vector<PresetInfo>& list)
{
    for (const auto& entry : list)
        if (isSamePreset (entry, shown))
            return entry.index;

    return std::nullopt;
}

std::vector<PresetInfo> PresetBrowserModel::presetsInFolder (const juce::ValueTree& folderNode)
{
    std::vector<PresetInfo> presets;

    std::function<void (const juce::ValueTree&)> visit = [&] (const juce::ValueTree& node)
    {
        for (const auto& child : node)
        {
            if (child.hasType (PresetIndex::ids::preset))
                presets.push_back (PresetInfo::fromIndexNode (child));
            else
                visit (child);
        }
    };

    if (folderNode.isValid())
        visit (folderNode);

    return presets;
}

juce::ValueTree PresetBrowserModel::findFolder (const juce::ValueTree& root, const FolderPath& folder)
{
    auto node = root;

    for (const auto& type : folder)
    {
        if (! node.isValid() || type == PresetIndex::ids::preset)
            return {};

        node = node.getChildWithName (type);
    }

    return node;
}

//==============================================================================
void PresetBrowserModel::updateScope()
{
    scope = selectedFolder.empty() ? *library : presetsInFolder (findFolder (indexTree, selectedFolder));
    updateVisible();
}

void PresetBrowserModel::updateVisible()
{
    visible = filter.apply (scope);

    if (searchText.isNotEmpty())
        visible.erase (std::remove_if (visible.begin(), visible.end(), [this] (const PresetInfo& preset)
                                       { return ! matchesSearch (preset, searchText); }),
                       visible.end());
}

void PresetBrowserModel::setSearchText (const juce::String& text)
{
    if (text == searchText)
        return;

    searchText = text;
    updateVisible();
}

bool PresetBrowserModel::matchesSearch (const PresetInfo& preset, const juce::String& text)
{
    // Words narrow the search: "warm bass" finds a warm preset in the Bass category.
    const auto words = juce::StringArray::fromTokens (text, " \t", "\"");
    const auto haystack = preset.name + "\n" + preset.author + "\n" + preset.categories.joinIntoString ("\n") + "\n" + preset.description;

    for (const auto& word : words)
        if (word.unquoted().isNotEmpty() && ! haystack.containsIgnoreCase (word.unquoted()))
            return false;

    return true;
}

} // namespace tarn

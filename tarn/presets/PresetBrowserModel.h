#pragma once

#include "CategoryFilter.h"

#include <memory>
#include <optional>
#include <vector>

namespace tarn
{

/** What the preset browser shows, without a window: the folder picked in the tree, the
    presets in its scope, the category filter, and the visible presets that pass it.

    A folder's scope holds its own presets and those of every folder below it, so picking
    "Factory" lists the whole factory library, not only the Initial Patch that sits
    directly in it; no folder picked means the whole library.

    Rows hold copies of library entries, and a save or an import renumbers the library:
    findLibraryIndex() finds the entry a row shows in the library as it is now, so a click
    always loads the preset the row shows.

    Plain data; message thread in the browser, any single thread in tests. */
class PresetBrowserModel
{
public:
    /** A folder of the index as the folder-node types from the root down:
        {} the whole library, {"f_factory"}, {"f_factory", "f_basslines"}. */
    using FolderPath = std::vector<juce::Identifier>;

    /** Takes a refreshed library. The picked folder stays picked while it exists (else the
        whole library is in scope), and selected categories that no preset carries any more
        are dropped. */
    void setLibrary (const juce::ValueTree& indexTree, std::shared_ptr<const std::vector<PresetInfo>> list);

    const juce::ValueTree& getIndexTree() const noexcept { return indexTree; }
    const std::vector<PresetInfo>& getLibrary() const noexcept { return *library; }

    //==============================================================================
    /** Puts a folder's presets in scope; an unknown path means the whole library. */
    void selectFolder (const FolderPath& folder);
    const FolderPath& getSelectedFolder() const noexcept { return selectedFolder; }

    /** The picked folder's "_description.txt" text; empty for the whole library. */
    juce::String getFolderDescription() const;

    //==============================================================================
    /** Every category of the library, in badge order. */
    const juce::StringArray& getCategories() const noexcept { return categories; }

    bool isCategorySelected (const juce::String& category) const { return filter.selected.contains (category, false); }
    void toggleCategory (const juce::String& category);
    void clearCategories();
    void setFilterMode (CategoryFilter::Mode mode);
    void setMatchMode (CategoryFilter::Match match);
    const CategoryFilter& getFilter() const noexcept { return filter; }

    //==============================================================================
    /** What the search box holds: a preset stays visible when each of its words appears,
        in any letter case, in its name, author, categories or description (on top of the
        category filter). Empty lets every preset through. */
    void setSearchText (const juce::String& text);
    const juce::String& getSearchText() const noexcept { return searchText; }

    static bool matchesSearch (const PresetInfo& preset, const juce::String& text);

    //==============================================================================
    const std::vector<PresetInfo>& getScope() const noexcept { return scope; }
    const std::vector<PresetInfo>& getVisible() const noexcept { return visible; }

    /** The visible row showing this preset, or -1. */
    int findVisibleRow (const PresetInfo& preset) const;

    /** A visible preset drawn uniformly; nothing when none is visible. */
    std::optional<PresetInfo> pickRandom (juce::Random& random) const;

    //==============================================================================
    /** Whether two entries stand for the same preset: the same file, or both the Initial Patch. */
    static bool isSamePreset (const PresetInfo& a, const PresetInfo& b);

    /** The index the preset has in `list` now, or nothing when the list has lost it. */
    static std::optional<int> findLibraryIndex (const PresetInfo& shown, const std::vector<PresetInfo>& list);

    /** The presets of a folder node and of every folder below it, in index order. */
    static std::vector<PresetInfo> presetsInFolder (const juce::ValueTree& folderNode);

    /** The folder node at a path of the index, or an invalid tree. */
    static juce::ValueTree findFolder (const juce::ValueTree& indexTree, const FolderPath& folder);

private:
    void updateScope();
    void updateVisible();

    juce::ValueTree indexTree;
    std::shared_ptr<const std::vector<PresetInfo>> library = std::make_shared<const std::vector<PresetInfo>>();
    FolderPath selectedFolder;
    juce::StringArray categories;
    CategoryFilter filter;
    juce::String searchText;
    std::vector<PresetInfo> scope, visible;
};

} // namespace tarn

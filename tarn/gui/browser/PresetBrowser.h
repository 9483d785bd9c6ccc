#pragma once

#include "CategoryBadge.h"
#include "FilterOptionsToggle.h"
#include "PresetDisplay.h"
#include "PresetTableView.h"
#include "PresetTree.h"

#include <tarn/presets/PresetManager.h>
#include <tarn/util/LocationRevealer.h>

namespace tarn
{

/** The preset browser, shown over the editor's main area: a search box, the labelled
    Show/Hide and Any/All switches and "Random" on the top line, the "Category Filter" badges
    below them, the folder tree (with the chosen folder's description below it) beside the
    table of visible presets, and the detail area of the selected one. The search narrows
    what the folder and the badges let through as the user types.

    It only reads the library and loads presets. A folder shows its own presets and those of
    the folders below it; the filter starts as Show and Any, so clicking badges narrows the
    table to presets of those categories, widening with each badge added. It follows the
    library: a loaded preset (from anywhere) is marked and selected, and every refresh of
    the folders (a save, a bulk import) rebuilds tree, badges and table at once. A click
    loads the preset its row shows, found again by its file in the library as it is now.
    [message thread] */
class PresetBrowser : public juce::Component
    , private PresetManager::Listener
{
public:
    explicit PresetBrowser (PresetManager& presets);
    ~PresetBrowser() override;

    static constexpr const char* filterCaption = "Category Filter";
    static constexpr const char* randomText = "Random";
    static constexpr const char* randomTooltip = "Random Preset: Select a random preset from the list";
    static constexpr const char* searchHint = "Search name, author, category, description";
    static constexpr const char* searchTooltip = "Search: Show only presets whose name, author, categories or description hold every word typed";
    static constexpr const char* filterModeLabel = "Filter:";
    static constexpr const char* matchModeLabel = "Match:";

    /** How "Reveal location" shows a file's folder: normally the desktop's file manager. */
    using Revealer = std::function<bool (const juce::File& file)>;
    void setRevealer (Revealer revealer);

    /** The user asked to close the browser (Escape, or a double click that loaded a preset). */
    std::function<void()> onCloseRequested;

    //==============================================================================
    /** Loads the preset a row shows (a click, Return). False when the library has lost it. */
    bool loadShownPreset (const PresetInfo& shown);

    /** "Random": loads a visible preset drawn uniformly; false (nothing loaded) when none is visible. */
    bool loadRandomPreset();

    /** "Reveal location" for a preset; false for one without a file (the Initial Patch). */
    bool revealPreset (const PresetInfo& preset);

    /** "Reveal location" for the selected row; false when no row is selected. */
    bool revealSelectedPreset();

    //==============================================================================
    const PresetBrowserModel& getModel() const noexcept { return model; }
    PresetTree& getTree() noexcept { return tree; }
    PresetTableView& getTable() noexcept { return table; }
    PresetDisplay& getDisplay() noexcept { return display; }
    FilterOptionsToggle& getFilterModeToggle() noexcept { return filterMode; }
    FilterOptionsToggle& getMatchModeToggle() noexcept { return matchMode; }
    juce::Button& getRandomButton() noexcept { return randomButton; }
    juce::TextEditor& getSearchBox() noexcept { return searchBox; }
    CategoryBadge* findBadge (const juce::String& category) const;

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    void currentPresetChanged (const PresetInfo& current) override;
    void presetLibraryRefreshed() override;

    static PresetInfo shownAsCurrent (const PresetInfo& current);
    void rebuildFromLibrary();
    void rebuildBadges();
    void showVisiblePresets();
    void updateDisplay();
    void categoriesChanged();
    void applySearchColours();
    void lookAndFeelChanged() override;

    /** Lays the filter bar out in `area` (when `place`) and returns the height it needs. */
    int layoutFilterBar (juce::Rectangle<int> area, bool place);

    PresetManager& presets;
    PresetBrowserModel model;
    std::unique_ptr<LocationRevealer> locationRevealer;
    Revealer revealer;

    PresetTree tree;
    PresetTableView table;
    PresetDisplay display;
    juce::OwnedArray<CategoryBadge> badges;
    FilterOptionsToggle filterMode { { "Show", "Show: Show any presets which match the filter", "browser_filter_show" },
                                     { "Hide", "Hide: Hide any presets which match the filter", "browser_filter_hide" } };
    FilterOptionsToggle matchMode { { "Any", "Any: Presets can match any category", "browser_match_any" },
                                    { "All", "All: Presets must match all categories", "browser_match_all" } };
    juce::TextButton randomButton { randomText };
    juce::TextEditor searchBox { "Search" };

    juce::Rectangle<int> captionArea, filterModeLabelArea, matchModeLabelArea, folderDescriptionArea;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetBrowser)
};

} // namespace tarn

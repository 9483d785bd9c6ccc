#pragma once

#include "PresetTreeItem.h"

namespace tarn
{

/** The preset browser's folder tree: "All Presets" over the factory folder, then the user
    folder, each with the folders below it. Choosing a folder puts its presets in scope
    (onFolderSelected). A new index keeps the open folders open and the chosen one chosen
    while they exist. [message thread] */
class PresetTree : public juce::TreeView
{
public:
    PresetTree();
    ~PresetTree() override;

    /** Shows a refreshed index; the chosen folder stays chosen when it still exists. */
    void setIndex (const juce::ValueTree& indexTree);

    /** Chooses a folder (opening its parents) without calling onFolderSelected. */
    void selectFolder (const PresetBrowserModel::FolderPath& folder);

    /** The item of a folder, when it is shown. */
    PresetTreeItem* findItem (const PresetBrowserModel::FolderPath& folder) const;

    std::function<void (const PresetBrowserModel::FolderPath& folder)> onFolderSelected;

    /** From the items. */
    void folderItemSelected (PresetTreeItem& item);

    void paint (juce::Graphics& g) override;
    void paintOverChildren (juce::Graphics& g) override;
    void lookAndFeelChanged() override;

private:
    std::unique_ptr<PresetTreeItem> root;
    bool selectingQuietly = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetTree)
};

} // namespace tarn

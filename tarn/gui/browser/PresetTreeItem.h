#pragma once

#include <tarn/presets/PresetBrowserModel.h>

#include <juce_gui_basics/juce_gui_basics.h>

namespace tarn
{

class PresetTree;

/** One folder of the preset index in the browser's tree: the library's root ("All
    Presets"), "Factory", "User" or a folder below them. It can be opened when the folder
    holds other folders; its children are made when it first opens. [message thread] */
class PresetTreeItem : public juce::TreeViewItem
{
public:
    PresetTreeItem (PresetTree& owner, juce::ValueTree folderNode, PresetBrowserModel::FolderPath path);
    ~PresetTreeItem() override;

    static constexpr const char* allPresetsText = "All Presets";

    const PresetBrowserModel::FolderPath& getFolderPath() const noexcept { return path; }
    juce::String getFolderName() const;

    /** The factory folder: the library's first root, shown with a locked folder. */
    bool isFactoryFolder() const;

    bool mightContainSubItems() override;
    juce::String getUniqueName() const override;
    int getItemHeight() const override;
    void paintItem (juce::Graphics& g, int width, int height) override;
    void paintOpenCloseButton (juce::Graphics& g, const juce::Rectangle<float>& area, juce::Colour backgroundColour, bool isMouseOver) override;
    void itemOpennessChanged (bool isNowOpen) override;
    void itemSelectionChanged (bool isNowSelected) override;
    juce::String getTooltip() override;

private:
    PresetTree& owner;
    juce::ValueTree node;
    const PresetBrowserModel::FolderPath path;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetTreeItem)
};

} // namespace tarn

#include "PresetTree.h"

#include <tarn/gui/Theme.h>

namespace tarn
{

PresetTree::PresetTree()
{
    setComponentID ("preset_tree");
    setRootItemVisible (true);
    setDefaultOpenness (false);
    setIndentSize (16);
    setWantsKeyboardFocus (false);
    setMouseClickGrabsKeyboardFocus (false);
}

PresetTree::~PresetTree()
{
    setRootItem (nullptr);
}

void PresetTree::setIndex (const juce::ValueTree& indexTree)
{
    const auto openness = root != nullptr ? getOpennessState (false) : nullptr;
    PresetBrowserModel::FolderPath chosen;

    if (auto* selected = dynamic_cast<PresetTreeItem*> (getSelectedItem (0)))
        chosen = selected->getFolderPath();

    setRootItem (nullptr);
    root = std::make_unique<PresetTreeItem> (*this, indexTree, PresetBrowserModel::FolderPath {});
    setRootItem (root.get());
    root->setOpen (true);

    // Factory and User are open at first: the folders are the first thing a user looks for.
    for (int i = 0; i < root->getNumSubItems(); ++i)
        root->getSubItem (i)->setOpen (true);

    if (openness != nullptr)
        restoreOpennessState (*openness, false);

    selectFolder (PresetBrowserModel::findFolder (indexTree, chosen).isValid() ? chosen : PresetBrowserModel::FolderPath {});
}

PresetTreeItem* PresetTree::findItem (const PresetBrowserModel::FolderPath& folder) const
{
    if (root == nullptr)
        return nullptr;

    juce::TreeViewItem* item = root.get();

    for (size_t depth = 0; depth < folder.size() && item != nullptr; ++depth)
    {
        juce::TreeViewItem* next = nullptr;

        for (int i = 0; i < item->getNumSubItems() && next == nullptr; ++i)
            if (auto* child = dynamic_cast<PresetTreeItem*> (item->getSubItem (i)); child != nullptr && child->getFolderPath().back() == folder[depth])
                next = child;

        item = next;
    }

    return dynamic_cast<PresetTreeItem*> (item);
}

void PresetTree::selectFolder (const PresetBrowserModel::FolderPath& folder)
{
    // Open the parents first: a child item exists once its parent has been opened.
    auto partial = PresetBrowserModel::FolderPath {};

    for (const auto& type : folder)
    {
        if (auto* parent = findItem (partial))
            parent->setOpen (true);

        partial.push_back (type);
    }

    const juce::ScopedValueSetter<bool> quiet (selectingQuietly, true);

    if (auto* item = findItem (folder))
    {
        item->setSelected (true, true);
        scrollToKeepItemVisible (item);
    }
}

void PresetTree::folderItemSelected (PresetTreeItem& item)
{
    if (! selectingQuietly && onFolderSelected != nullptr)
        onFolderSelected (item.getFolderPath());
}

void PresetTree::paint (juce::Graphics& g)
{
    g.fillAll (themeColour (*this, "background.panel"));
}

void PresetTree::paintOverChildren (juce::Graphics& g)
{
    g.setColour (themeColour (*this, "elements.elementborder"));
    g.drawRect (getLocalBounds(), 1);
}

void PresetTree::lookAndFeelChanged()
{
    juce::TreeView::lookAndFeelChanged();
    auto& bar = getViewport()->getVerticalScrollBar();
    bar.setColour (juce::ScrollBar::thumbColourId, themeColour (*this, "scrollbar.thumb"));
    bar.setColour (juce::ScrollBar::trackColourId, juce::Colours::transparentBlack);
}

} // namespace tarn

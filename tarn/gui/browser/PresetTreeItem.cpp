#include "PresetTreeItem.h"

#include "BrowserMetrics.h"
#include "PresetTree.h"

#include <tarn/gui/Theme.h>
#include <tarn/presets/PresetIndex.h>

namespace tarn
{
namespace
{
    bool isFolder (const juce::ValueTree& node) { return ! node.hasType (PresetIndex::ids::preset); }
} // namespace

PresetTreeItem::PresetTreeItem (PresetTree& ownerToUse, juce::ValueTree folderNode, PresetBrowserModel::FolderPath folderPath)
    : owner (ownerToUse),
      node (std::move (folderNode)),
      path (std::move (folderPath))
{
}

PresetTreeItem::~PresetTreeItem() = default;

juce::String PresetTreeItem::getFolderName() const
{
    return path.empty() ? juce::String (allPresetsText) : node[PresetIndex::ids::folderName].toString();
}

bool PresetTreeItem::isFactoryFolder() const
{
    return path.size() == 1 && path.front() == PresetIndex::makeFolderType (PresetIndex::factoryLabel);
}

bool PresetTreeItem::mightContainSubItems()
{
    for (const auto& child : node)
        if (isFolder (child))
            return true;

    return false;
}

juce::String PresetTreeItem::getUniqueName() const
{
    return path.empty() ? juce::String ("presets") : path.back().toString();
}

int PresetTreeItem::getItemHeight() const
{
    return BrowserMetrics::rowHeight (owner);
}

void PresetTreeItem::itemOpennessChanged (bool isNowOpen)
{
    if (! isNowOpen || getNumSubItems() > 0)
        return;

    for (const auto& child : node)
    {
        if (! isFolder (child))
            continue;

        auto childPath = path;
        childPath.push_back (child.getType());
        addSubItem (new PresetTreeItem (owner, child, std::move (childPath)));
    }
}

void PresetTreeItem::itemSelectionChanged (bool isNowSelected)
{
    if (isNowSelected)
        owner.folderItemSelected (*this);
}

juce::String PresetTreeItem::getTooltip()
{
    return node[PresetIndex::ids::description].toString();
}

void PresetTreeItem::paintItem (juce::Graphics& g, int width, int height)
{
    auto& view = owner;
    auto area = juce::Rectangle<int> (width, height);

    if (isSelected())
    {
        g.setColour (themeColour (view, "theme.primary").withAlpha (0.35f));
        g.fillRoundedRectangle (area.toFloat().reduced (0.0f, 1.0f), themeMetric (view, "cornerRadius", 2.5f));
    }

    const auto textColour = themeColour (view, isSelected() ? "text.highlightedtext" : "text.text");
    const auto iconArea = area.removeFromLeft (height).reduced (height / 4);

    if (auto icon = themeIcon (view, isFactoryFolder() ? "lock" : "folder", isSelected() ? "text.highlightedtext" : "text.text"))
        icon->drawWithin (g, iconArea.toFloat(), juce::RectanglePlacement::centred, 1.0f);

    g.setColour (textColour);
    g.setFont (themeFont (view));
    g.drawText (getFolderName(), area.withTrimmedLeft (4), juce::Justification::centredLeft, true);
}

void PresetTreeItem::paintOpenCloseButton (juce::Graphics& g, const juce::Rectangle<float>& area, juce::Colour, bool isMouseOver)
{
    auto& view = owner;

    if (auto arrow = themeIcon (view, isOpen() ? "angledown" : "angleright", isMouseOver ? "text.highlightedtext" : "text.text"))
        arrow->drawWithin (g, area.reduced (area.getWidth() * 0.2f), juce::RectanglePlacement::centred, 1.0f);
}

} // namespace tarn

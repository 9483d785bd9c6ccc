#include "PresetTableView.h"

#include "BrowserMetrics.h"

#include <tarn/gui/overlays/PopupMenus.h>
#include <tarn/presets/PresetBrowserModel.h>

namespace tarn
{
namespace
{
    PopupKind presetRowMenuKind { "preset browser row menu" };

    constexpr int minimumDescriptionWidth = 60;
} // namespace

PresetTableView::PresetTableView()
{
    setComponentID ("preset_table");
    table.setComponentID ("preset_table_rows");

    auto& columns = table.getHeader();
    const auto resizable = juce::TableHeaderComponent::visible | juce::TableHeaderComponent::resizable;
    columns.addColumn ("Name", nameColumn, 150, 60, -1, resizable);
    columns.addColumn ("Author", authorColumn, 100, 50, -1, resizable);
    columns.addColumn ("Categories", categoriesColumn, 100, 50, -1, resizable);
    columns.addColumn ("Description", descriptionColumn, 100, 30, -1, juce::TableHeaderComponent::visible);
    columns.setPopupMenuActive (false);
    columns.addListener (this);

    table.setMultipleSelectionEnabled (false);
    table.setModel (this);

    // The table is the one part of the browser that takes the keyboard: once clicked, its
    // arrows and Return work until the user clicks elsewhere.
    table.getProperties().set ("tarn_keyboard_focus", true);
    table.setWantsKeyboardFocus (false);
    addAndMakeVisible (table);
    applyColours();
}

PresetTableView::~PresetTableView()
{
    table.getHeader().removeListener (this);
    table.setModel (nullptr);
}

void PresetTableView::setPresets (std::vector<PresetInfo> newPresets)
{
    const auto previous = getSelectedPreset();
    presets = std::move (newPresets);
    table.updateContent();

    const auto row = previous.has_value() ? findRow (*previous) : -1;

    if (row >= 0)
        table.selectRow (row, false, true);
    else
        table.deselectAllRows();

    repaint();
}

void PresetTableView::setCurrentPreset (const PresetInfo& preset)
{
    current = preset;
    const auto row = findRow (preset);

    if (row >= 0)
        table.selectRow (row, false, true);
    else
        table.deselectAllRows();

    repaint();
}

std::optional<PresetInfo> PresetTableView::getSelectedPreset() const
{
    const auto row = table.getSelectedRow();

    if (juce::isPositiveAndBelow (row, (int) presets.size()))
        return presets[(size_t) row];

    return std::nullopt;
}

int PresetTableView::findRow (const PresetInfo& preset) const
{
    for (size_t row = 0; row < presets.size(); ++row)
        if (PresetBrowserModel::isSamePreset (presets[row], preset))
            return (int) row;

    return -1;
}

//==============================================================================
void PresetTableView::fitColumns()
{
    auto& header = table.getHeader();
    const auto width = table.getVisibleRowWidth();

    if (width <= 0)
        return;

    const juce::ScopedValueSetter<bool> guard (fitting, true);

    if (width < narrowWidth)
    {
        header.setColumnWidth (nameColumn, 140);
        header.setColumnWidth (authorColumn, 70);
        header.setColumnVisible (descriptionColumn, false);
        header.setColumnWidth (categoriesColumn, juce::jmax (50, width - 140 - 70));
        narrow = true;
        return;
    }

    if (std::exchange (narrow, false))
    {
        header.setColumnWidth (nameColumn, 150);
        header.setColumnWidth (authorColumn, 100);
        header.setColumnWidth (categoriesColumn, 100);
    }

    header.setColumnVisible (descriptionColumn, true);
    const auto others = header.getColumnWidth (nameColumn) + header.getColumnWidth (authorColumn) + header.getColumnWidth (categoriesColumn);
    header.setColumnWidth (descriptionColumn, juce::jmax (minimumDescriptionWidth, width - others));
}

void PresetTableView::tableColumnsResized (juce::TableHeaderComponent*)
{
    // The user dragged a column edge: Description takes up the difference.
    if (! fitting)
        fitColumns();
}

void PresetTableView::resized()
{
    table.setRowHeight (BrowserMetrics::rowHeight (*this));
    table.setHeaderHeight (BrowserMetrics::rowHeight (*this));
    table.setBounds (getLocalBounds());
    fitColumns();
}

void PresetTableView::lookAndFeelChanged()
{
    applyColours();
}

void PresetTableView::applyColours()
{
    table.setColour (juce::ListBox::backgroundColourId, themeColour (*this, "background.panel"));
    table.setColour (juce::ListBox::outlineColourId, themeColour (*this, "elements.elementborder"));
    auto& columns = table.getHeader();
    columns.setColour (juce::TableHeaderComponent::backgroundColourId, themeColour (*this, "elements.element"));
    columns.setColour (juce::TableHeaderComponent::textColourId, themeColour (*this, "text.text"));
    columns.setColour (juce::TableHeaderComponent::outlineColourId, themeColour (*this, "elements.elementborder"));
    columns.setColour (juce::TableHeaderComponent::highlightColourId, themeColour (*this, "elements.element").brighter (0.1f));
    table.setOutlineThickness (1);

    for (auto* bar : { &table.getVerticalScrollBar(), &table.getHorizontalScrollBar() })
    {
        bar->setColour (juce::ScrollBar::thumbColourId, themeColour (*this, "scrollbar.thumb"));
        bar->setColour (juce::ScrollBar::trackColourId, juce::Colours::transparentBlack);
    }
}

void PresetTableView::paintOverChildren (juce::Graphics& g)
{
    if (! presets.empty())
        return;

    g.setColour (themeColour (*this, "text.disabledtext"));
    g.setFont (themeFont (*this, 10.0f));
    g.drawText (emptyText, getLocalBounds().withTrimmedTop (table.getHeaderHeight()), juce::Justification::centred, false);
}

bool PresetTableView::keyPressed (const juce::KeyPress& key)
{
    if (key == juce::KeyPress::escapeKey && onEscape != nullptr)
    {
        onEscape();
        return true;
    }

    return false;
}

//==============================================================================
int PresetTableView::getNumRows()
{
    return (int) presets.size();
}

void PresetTableView::paintRowBackground (juce::Graphics& g, int row, int width, int height, bool rowIsSelected)
{
    if (! juce::isPositiveAndBelow (row, (int) presets.size()))
        return;

    if (rowIsSelected)
        g.fillAll (themeColour (*this, "theme.primary").withAlpha (0.45f));
    else if (row % 2 == 1)
        g.fillAll (themeColour (*this, "background.background").withAlpha (0.35f));

    // The preset that is loaded now: a bar at the row's left edge.
    if (current.has_value() && PresetBrowserModel::isSamePreset (presets[(size_t) row], *current))
    {
        g.setColour (themeColour (*this, "theme.primary"));
        g.fillRect (0, 0, 3, height);
    }

    juce::ignoreUnused (width);
}

juce::String PresetTableView::getCellText (const PresetInfo& preset, int columnId) const
{
    switch (columnId)
    {
        case nameColumn:
            return preset.name;
        case authorColumn:
            return preset.author;
        case categoriesColumn:
            return preset.categories.joinIntoString (", ");
        case descriptionColumn:
            return preset.description;
        default:
            return {};
    }
}

void PresetTableView::paintCell (juce::Graphics& g, int row, int columnId, int width, int height, bool rowIsSelected)
{
    if (! juce::isPositiveAndBelow (row, (int) presets.size()))
        return;

    const auto text = themeColour (*this, rowIsSelected ? "text.highlightedtext" : "text.text");
    g.setColour (columnId == nameColumn || rowIsSelected ? text : text.withMultipliedAlpha (0.7f));
    g.setFont (themeFont (*this));
    g.drawText (getCellText (presets[(size_t) row], columnId).replaceCharacters ("\r\n", "  "),
                juce::Rectangle<int> (width, height).reduced (8, 0), juce::Justification::centredLeft, true);
}

juce::String PresetTableView::getCellTooltip (int row, int columnId)
{
    if (! juce::isPositiveAndBelow (row, (int) presets.size()))
        return {};

    const auto& preset = presets[(size_t) row];
    return columnId == descriptionColumn || columnId == nameColumn ? preset.description : getCellText (preset, columnId);
}

void PresetTableView::cellClicked (int row, int, const juce::MouseEvent& e)
{
    if (! juce::isPositiveAndBelow (row, (int) presets.size()))
        return;

    // The rows themselves never take the keyboard (the editor sees to that); the table does.
    table.setWantsKeyboardFocus (true);
    table.grabKeyboardFocus();

    if (e.mods.isPopupMenu())
    {
        showRowMenu (row, e.getScreenPosition());
        return;
    }

    if (e.mods.isLeftButtonDown() && onPresetClicked != nullptr)
        onPresetClicked (presets[(size_t) row]);
}

void PresetTableView::cellDoubleClicked (int row, int, const juce::MouseEvent& e)
{
    if (juce::isPositiveAndBelow (row, (int) presets.size()) && ! e.mods.isPopupMenu() && onPresetDoubleClicked != nullptr)
        onPresetDoubleClicked (presets[(size_t) row]);
}

void PresetTableView::returnKeyPressed (int row)
{
    if (juce::isPositiveAndBelow (row, (int) presets.size()) && onPresetClicked != nullptr)
        onPresetClicked (presets[(size_t) row]);
}

void PresetTableView::selectedRowsChanged (int)
{
    if (onSelectionChanged != nullptr)
        onSelectionChanged();
}

juce::PopupMenu PresetTableView::createRowMenu (int row) const
{
    juce::PopupMenu menu;
    const auto hasFile = juce::isPositiveAndBelow (row, (int) presets.size()) && presets[(size_t) row].path.isNotEmpty();
    menu.addItem (1, revealText, hasFile);
    return menu;
}

void PresetTableView::showRowMenu (int row, juce::Point<int> screenPosition)
{
    const juce::WeakReference<PresetTableView> safeThis (this);
    const auto preset = presets[(size_t) row];

    showMenuAt (presetRowMenuKind, *this, createRowMenu (row), screenPosition, [safeThis, preset] (int chosen)
                        {
                            if (safeThis != nullptr && chosen == 1 && preset.path.isNotEmpty() && safeThis->onRevealRequested != nullptr)
                                safeThis->onRevealRequested (preset);
                        });
}

} // namespace tarn

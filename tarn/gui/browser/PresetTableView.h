#pragma once

#include <tarn/presets/PresetInfo.h>

#include <juce_gui_basics/juce_gui_basics.h>

#include <optional>
#include <vector>

namespace tarn
{

/** The preset browser's table: Name, Author, Categories and Description of the visible
    presets, one row each, the current preset marked.

    A left click on a row loads that row's preset (onPresetClicked), a right click offers
    "Reveal location". The arrow keys move the selection (the detail area follows) and
    Return loads the selected preset; Escape asks to close the browser. Below 400 pixels
    the Description column is hidden; otherwise it takes the width the others leave.
    [message thread] */
class PresetTableView : public juce::Component
    , private juce::TableListBoxModel
    , private juce::TableHeaderComponent::Listener
{
public:
    enum ColumnIds
    {
        nameColumn = 2,
        authorColumn = 3,
        categoriesColumn = 4,
        descriptionColumn = 5
    };

    static constexpr int narrowWidth = 400;
    static constexpr const char* emptyText = "No presets found";
    static constexpr const char* revealText = "Reveal location";

    PresetTableView();
    ~PresetTableView() override;

    /** The rows to show. The selection stays on the same preset when it is still shown. */
    void setPresets (std::vector<PresetInfo> presets);
    const std::vector<PresetInfo>& getPresets() const noexcept { return presets; }

    /** Marks the current preset's row and selects it (nothing is loaded). */
    void setCurrentPreset (const PresetInfo& current);

    /** The selected row's preset. */
    std::optional<PresetInfo> getSelectedPreset() const;

    /** The row showing this preset, or -1. */
    int findRow (const PresetInfo& preset) const;

    int getSelectedRow() const { return table.getSelectedRow(); }
    void scrollToRow (int row) { table.scrollToEnsureRowIsOnscreen (row); }

    /** The framework's table inside (rows, header, scrolling). */
    juce::TableListBox& getListBox() noexcept { return table; }

    std::function<void (const PresetInfo& preset)> onPresetClicked;
    std::function<void (const PresetInfo& preset)> onPresetDoubleClicked;
    std::function<void (const PresetInfo& preset)> onRevealRequested;
    std::function<void()> onSelectionChanged;
    std::function<void()> onEscape;

    /** The menu a right click on a row opens ("Reveal location", disabled for a preset
        without a file); its one item id is 1. */
    juce::PopupMenu createRowMenu (int row) const;

    /** Fits the columns to the width (see the class comment). */
    void fitColumns();

    void resized() override;
    void paintOverChildren (juce::Graphics& g) override;
    bool keyPressed (const juce::KeyPress& key) override;
    void lookAndFeelChanged() override;

private:
    // TableListBoxModel
    int getNumRows() override;
    void paintRowBackground (juce::Graphics& g, int row, int width, int height, bool rowIsSelected) override;
    void paintCell (juce::Graphics& g, int row, int columnId, int width, int height, bool rowIsSelected) override;
    void cellClicked (int row, int columnId, const juce::MouseEvent& e) override;
    void cellDoubleClicked (int row, int columnId, const juce::MouseEvent& e) override;
    void returnKeyPressed (int row) override;
    void selectedRowsChanged (int row) override;
    juce::String getCellTooltip (int row, int columnId) override;

    // TableHeaderComponent::Listener
    void tableColumnsChanged (juce::TableHeaderComponent*) override {}
    void tableColumnsResized (juce::TableHeaderComponent*) override;
    void tableSortOrderChanged (juce::TableHeaderComponent*) override {}

    juce::String getCellText (const PresetInfo& preset, int columnId) const;
    void showRowMenu (int row, juce::Point<int> screenPosition);
    void applyColours();

    /** Takes the keyboard only from a click on a row to the next loss of focus, so it is
        never the window's default focus (which would keep the keys from the host). */
    class Rows : public juce::TableListBox
    {
    public:
        Rows() : juce::TableListBox ("presets", nullptr) {}
        void focusLost (FocusChangeType) override { setWantsKeyboardFocus (false); }
    };

    Rows table;
    std::vector<PresetInfo> presets;
    std::optional<PresetInfo> current;
    bool fitting = false, narrow = false;

    JUCE_DECLARE_WEAK_REFERENCEABLE (PresetTableView)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetTableView)
};

} // namespace tarn

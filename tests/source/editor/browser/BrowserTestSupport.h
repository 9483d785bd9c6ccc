#pragma once

#include <brindlex/gui/BrindlexEditor.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tests/support/editor/ProductEditorTest.h>

#include <gtest/gtest.h>

namespace cadenzium::test
{

/** The committed factory library installed into the test's private configuration folder,
    an empty user folder, and the browser of a real editor. */
class PresetBrowserTest : public ProductEditorTest
{
protected:
    void SetUp() override
    {
        ProductEditorTest::SetUp();
        ASSERT_TRUE (juce::File (CADENZIUM_FACTORY_PRESETS).copyDirectoryTo (factoryRoot));
        userRoot.createDirectory();
    }

    static tarn::PresetBrowser& browserOf (EditorWindow& window)
    {
        return dynamic_cast<brindlex::BrindlexEditor&> (window.getEditor()).getPresetBrowser();
    }

    static juce::StringArray namesOf (const std::vector<tarn::PresetInfo>& presets)
    {
        juce::StringArray names;

        for (const auto& preset : presets)
            names.add (preset.name);

        return names;
    }

    /** Clicks the middle of a row's Name cell. */
    static void clickRow (EditorWindow& window, tarn::PresetTableView& table, int row, juce::ModifierKeys mods = {})
    {
        auto& rows = table.getListBox();
        rows.scrollToEnsureRowIsOnscreen (row);
        EditorWindow::pump (10);
        const auto cell = rows.getCellPosition (tarn::PresetTableView::nameColumn, row, true).toFloat();
        window.click (rows, cell.getCentre(), mods);
    }

    /** Clicks a folder of the tree. */
    static void clickFolder (EditorWindow& window, tarn::PresetTree& tree, const tarn::PresetBrowserModel::FolderPath& folder)
    {
        auto* item = tree.findItem (folder);
        ASSERT_NE (item, nullptr);
        // The item's own line: an open item's position covers its children too.
        const auto area = item->getItemPosition (true).withHeight (item->getItemHeight()).toFloat();
        window.click (tree, area.withTrimmedLeft (40.0f).getCentre());
        EXPECT_TRUE (item->isSelected()) << area.toString() << " in " << tree.getLocalBounds().toString();
    }

    /** Every parameter the preset file sets, but the four a preset load keeps, has the file's value. */
    static void expectParametersOf (const juce::File& presetFile, Cadenzium2AudioProcessor& processor)
    {
        const auto xml = juce::parseXML (presetFile);
        ASSERT_NE (xml, nullptr);
        const juce::StringArray kept { "swing_amount", "lock_to_key", "keyswitch_enable", "keyswitch_range", "internal" };
        int compared = 0;

        for (const auto* param : xml->getChildWithTagNameIterator ("PARAM"))
        {
            const auto id = param->getStringAttribute ("id");

            if (kept.contains (id) || processor.getParameterState().getParameter (id) == nullptr)
                continue;

            EXPECT_FLOAT_EQ (processor.getRawParameterValue (id), (float) param->getDoubleAttribute ("value")) << id;
            ++compared;
        }

        EXPECT_GT (compared, 20);
    }

    const juce::File factoryRoot = brindlex::BrindlexProcessor::getFactoryPresetFolder ("Cadenzium 2");
    const juce::File userRoot = brindlex::BrindlexProcessor::getUserPresetFolder ("Cadenzium 2");
};

} // namespace cadenzium::test

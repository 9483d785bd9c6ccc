// The preset browser over the product window (the factory library comes from the source tree).

#include <brindlex/gui/BrindlexEditor.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/util/RandomSource.h>
#include <tests/support/TestSeed.h>
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

    const juce::File factoryRoot = brindlex::BrindlexProcessor::getFactoryPresetFolder ("Cadenzium 2");
    const juce::File userRoot = brindlex::BrindlexProcessor::getUserPresetFolder ("Cadenzium 2");
};

using tarn::PresetTableView;

TEST_F (PresetBrowserTest, theTopBarOpensItOverTheMainAreaAndABadgeAndARowClickLoadThatPreset)
{
    Cadenzium2AudioProcessor processor;
    EditorWindow window (processor);
    auto& browser = browserOf (window);
    auto& table = browser.getTable();
    ASSERT_FALSE (browser.isVisible());

    window.click (EditorWindow::get ("preset_browser"));
    ASSERT_TRUE (browser.isShowing());
    const auto topBar = EditorWindow::get ("top_bar").getBounds();
    EXPECT_EQ (browser.getBounds(), window.getEditor().getLocalBounds().withTrimmedTop (topBar.getBottom()));
    EXPECT_EQ (table.getPresets().size(), 30u) << "the Initial Patch and the 29 factory presets";
    window.saveScreenshot ("opened");

    auto& bass = EditorWindow::get<tarn::CategoryBadge> ("category_badge_Bass");
    window.click (bass);
    EXPECT_TRUE (bass.getToggleState());
    EXPECT_EQ (namesOf (table.getPresets()), juce::StringArray ({ "Acid Line", "Octave Bass", "Root Fifth Walk", "Root Pulse", "Syncopated Funk" }));

    clickRow (window, table, 3);
    const auto rootPulse = factoryRoot.getChildFile ("Basslines/Root Pulse.bpre");
    EXPECT_EQ (processor.getPresetManager().getCurrentPreset().path, rootPulse.getFullPathName());
    EXPECT_EQ (EditorWindow::get<juce::Button> ("preset_name").getButtonText(), "Root Pulse");
    EXPECT_EQ (browser.getDisplay().getPreset()->name, "Root Pulse");

    // A second badge widens the view (Any); All narrows it to presets with both.
    window.click (EditorWindow::get ("category_badge_Controllers"));
    EXPECT_EQ (table.getPresets().size(), 9u);
    window.click (EditorWindow::get ("browser_match_all"));
    EXPECT_EQ (namesOf (table.getPresets()), juce::StringArray ({ "Acid Line", "Syncopated Funk" }));
    window.click (EditorWindow::get ("browser_filter_hide"));
    EXPECT_EQ (table.getPresets().size(), 28u) << "all presets but those with both";

    // A right click on any badge clears the whole filter.
    window.rightClick (EditorWindow::get ("category_badge_Waltz"));
    EXPECT_FALSE (bass.getToggleState());
    EXPECT_FALSE (EditorWindow::get<juce::Button> ("category_badge_Waltz").getToggleState());
    EXPECT_EQ (table.getPresets().size(), 30u);

    window.click (EditorWindow::get ("preset_browser"));
    EXPECT_FALSE (browser.isVisible());
}

TEST_F (PresetBrowserTest, aFolderShowsItsTreesPresetsRandomPicksAmongThemAndRevealShowsARowsFile)
{
    const auto seed = testSeed (5);
    SCOPED_TRACE ("seed " + std::to_string (seed));
    tarn::RandomSource::setFixedSeed (seed);

    Cadenzium2AudioProcessor processor;
    EditorWindow window (processor);
    auto& browser = browserOf (window);
    auto& presets = processor.getPresetManager();
    window.click (EditorWindow::get ("preset_browser"));

    clickFolder (window, browser.getTree(), { "f_factory", "f_arpeggios" });
    const auto visible = namesOf (browser.getTable().getPresets());
    EXPECT_EQ (visible, juce::StringArray ({ "Octave Spark", "Rising Eighths", "Sixteenth Cascade", "Triplet Waves", "Waltz Broken Chord" }));
    EXPECT_TRUE (browser.getModel().getFolderDescription().startsWith ("Broken chords in every shape"));
    window.saveScreenshot ("arpeggios");

    auto& random = EditorWindow::get<juce::Button> ("browser_random");
    juce::StringArray drawn;

    for (int i = 0; i < 30; ++i)
    {
        window.click (random);
        const auto current = presets.getCurrentPreset().name;
        ASSERT_TRUE (visible.contains (current)) << current;
        drawn.addIfNotAlreadyThere (current);
    }

    EXPECT_EQ (drawn.size(), visible.size()) << "every visible preset can come up";

    clickFolder (window, browser.getTree(), { "f_factory" });
    EXPECT_EQ (browser.getTable().getPresets().size(), 30u);

    // The user folder has no presets yet: Random loads nothing.
    clickFolder (window, browser.getTree(), { "f_user" });
    EXPECT_TRUE (browser.getTable().getPresets().empty());
    window.saveScreenshot ("empty user folder");
    const auto before = presets.getCurrentPreset();
    window.click (random);
    EXPECT_EQ (presets.getCurrentPreset(), before);
    tarn::RandomSource::clearFixedSeed();

    // Reveal Location: nothing without a selection or a file, a row's file otherwise.
    juce::Array<juce::File> revealed;
    browser.setRevealer ([&] (const juce::File& file)
                         {
                             revealed.add (file);
                             return true;
                         });
    auto& table = browser.getTable();
    EXPECT_FALSE (browser.revealSelectedPreset());
    clickFolder (window, browser.getTree(), {});
    table.getListBox().deselectAllRows();
    EXPECT_FALSE (browser.revealSelectedPreset());

    // The Initial Patch has no file: its item is there but disabled.
    {
        const auto menu = table.createRowMenu (0);
        juce::PopupMenu::MenuItemIterator item (menu);
        ASSERT_TRUE (item.next());
        EXPECT_EQ (item.getItem().text, "Reveal location");
        EXPECT_FALSE (item.getItem().isEnabled);
    }

    const auto loaded = presets.getCurrentPreset();
    clickRow (window, table, 2, juce::ModifierKeys (juce::ModifierKeys::rightButtonModifier));
    ASSERT_TRUE (EditorWindow::isMenuOpen());
    ASSERT_TRUE (EditorWindow::chooseMenuItem ("Reveal location"));
    EditorWindow::pumpUntil ([&] { return ! revealed.isEmpty(); });
    ASSERT_EQ (revealed.size(), 1);
    EXPECT_EQ (revealed[0].getFullPathName(), table.getPresets()[2].path);
    EXPECT_EQ (presets.getCurrentPreset(), loaded) << "a right click loads nothing";
}

TEST_F (PresetBrowserTest, aClickedTableTakesTheArrowKeysAndReturnUntilAClickElsewhereGivesTheKeysBack)
{
    Cadenzium2AudioProcessor processor;
    EditorWindow window (processor);
    auto& browser = browserOf (window);
    auto& table = browser.getTable();
    auto& presets = processor.getPresetManager();
    window.xClick (EditorWindow::get ("preset_browser"));
    ASSERT_TRUE (browser.isVisible());

    auto& rows = table.getListBox();
    window.xClick (rows, rows.getCellPosition (PresetTableView::nameColumn, 1, true).toFloat().getCentre());
    ASSERT_EQ (presets.getCurrentPreset().name, table.getPresets()[1].name);
    EditorWindow::pump (300);
    ASSERT_TRUE (window.windowHasKeyboardFocus()) << "the table keeps the keyboard for its arrows";

    window.xKey ("Down");
    window.xKey ("Down");
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return table.getSelectedRow() == 3; }));
    EXPECT_EQ (browser.getDisplay().getPreset()->name, table.getPresets()[3].name) << "the detail area follows";
    EXPECT_EQ (presets.getCurrentPreset().name, table.getPresets()[1].name) << "moving loads nothing";

    window.xKey ("Return");
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return presets.getCurrentPreset().name == table.getPresets()[3].name; }));

    // A click on a control elsewhere hands the keys back to the host.
    window.xClick (EditorWindow::get ("browser_match_all"));
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return ! window.windowHasKeyboardFocus(); }));

    window.click (rows, rows.getCellPosition (PresetTableView::nameColumn, 4, true).toFloat().getCentre());
    window.pressKey (juce::KeyPress (juce::KeyPress::escapeKey));
    EXPECT_FALSE (browser.isVisible()) << "Escape closes the browser";
    EXPECT_FALSE (EditorWindow::get<juce::Button> ("preset_browser").getToggleState());
}

TEST_F (PresetBrowserTest, typingInTheSearchBoxNarrowsTheListWithTheBadgesAndEscapeClearsItBeforeItCloses)
{
    Cadenzium2AudioProcessor processor;
    EditorWindow window (processor);
    auto& browser = browserOf (window);
    auto& table = browser.getTable();
    window.click (EditorWindow::get ("preset_browser"));
    ASSERT_TRUE (browser.isShowing());

    auto& search = EditorWindow::get<juce::TextEditor> ("browser_search");
    window.click (search);
    window.typeText ("PENTAtonic");
    EXPECT_EQ (namesOf (table.getPresets()), juce::StringArray ({ "Acid Line", "Pentatonic Run" })) << "a description and a name, any case";
    window.saveScreenshot ("searched");

    window.click (EditorWindow::get ("category_badge_Bass"));
    EXPECT_EQ (namesOf (table.getPresets()), juce::StringArray ({ "Acid Line" })) << "the badges narrow the search further";

    window.click (search);
    search.selectAll();
    window.typeText ("team walking");
    EXPECT_EQ (namesOf (table.getPresets()), juce::StringArray ({ "Root Fifth Walk" })) << "an author and a category, every word found";

    window.pressKey (juce::KeyPress (juce::KeyPress::escapeKey));
    EXPECT_EQ (search.getText(), "");
    EXPECT_EQ (table.getPresets().size(), 5u) << "the Bass badge alone again";
    EXPECT_TRUE (browser.isVisible()) << "the first Escape only clears the search";
    window.pressKey (juce::KeyPress (juce::KeyPress::escapeKey));
    EXPECT_FALSE (browser.isVisible());

    // At every size the list ends on a whole row, and the switches leave the search box room.
    // (The look tests keep the smallest one's picture.)
    for (auto size : { juce::Point<int> (1000, 800), juce::Point<int> (1244, 935), juce::Point<int> (2000, 1500) })
    {
        window.getEditor().setSize (size.x, size.y);
        window.click (EditorWindow::get ("preset_browser"));
        auto& rows = table.getListBox();
        EXPECT_EQ ((rows.getHeight() - rows.getHeaderHeight() - 2) % rows.getRowHeight(), 0) << size.toString();
        EXPECT_GE (search.getWidth(), 200) << size.toString();
        EXPECT_FALSE (search.getBounds().intersects (browser.getFilterModeToggle().getBounds())) << size.toString();
        if (size.x > 1000)
            window.saveScreenshot ("browser-" + juce::String (size.x) + "x" + juce::String (size.y));
        window.click (EditorWindow::get ("preset_browser"));
    }
}

TEST_F (PresetBrowserTest, itFollowsPresetsLoadedElsewhereAndASaveAndRowsStillLoadTheirOwnPresetAfterwards)
{
    Cadenzium2AudioProcessor processor;
    EditorWindow window (processor);
    auto& browser = browserOf (window);
    auto& table = browser.getTable();
    auto& presets = processor.getPresetManager();
    window.click (EditorWindow::get ("preset_browser"));

    // Next in the top bar: the browser marks and selects the new current preset.
    window.click (EditorWindow::get ("preset_next"));
    window.click (EditorWindow::get ("preset_next"));
    EXPECT_EQ (table.getSelectedRow(), 2);
    EXPECT_EQ (browser.getDisplay().getPreset()->name, presets.getCurrentPreset().name);

    // A save renumbers the list; the browser shows the new preset at once.
    presets.savePreset ("Zebra", "Ada", "Last of the users", "Mine");
    ASSERT_EQ (table.getPresets().size(), 31u);
    EXPECT_EQ (table.getPresets()[30].name, "Zebra");
    EXPECT_NE (browser.findBadge ("Mine"), nullptr);
    EXPECT_EQ (table.getSelectedRow(), 30) << "the saved preset is current";

    clickRow (window, table, 5);
    EXPECT_EQ (presets.getCurrentPreset().path, table.getPresets()[5].path);

    // A row shown before a save put a preset in front of it still loads its own preset.
    const auto shownZebra = table.getPresets()[30];
    presets.savePreset ("Aardvark", "Ada", "", "");
    ASSERT_EQ (table.getPresets()[30].name, "Aardvark");
    ASSERT_TRUE (browser.loadShownPreset (shownZebra));
    EXPECT_EQ (presets.getCurrentPreset().path, shownZebra.path);
    EXPECT_EQ (presets.getCurrentPreset().index, 31);
}

TEST (PresetTableView, belowFourHundredPixelsTheDescriptionHidesAndOtherwiseTakesTheRestOfTheWidth)
{
    tarn::PresetTableView table;
    auto& header = table.getListBox().getHeader();
    table.setSize (390, 300);
    EXPECT_EQ (header.getColumnWidth (PresetTableView::nameColumn), 140);
    EXPECT_EQ (header.getColumnWidth (PresetTableView::authorColumn), 70);
    EXPECT_FALSE (header.isColumnVisible (PresetTableView::descriptionColumn));

    table.setSize (800, 300);
    EXPECT_TRUE (header.isColumnVisible (PresetTableView::descriptionColumn));
    EXPECT_EQ (header.getColumnWidth (PresetTableView::nameColumn), 150);
    EXPECT_EQ (header.getColumnWidth (PresetTableView::descriptionColumn), table.getListBox().getVisibleRowWidth() - 350);

    // The user widens Name: Description gives the width up.
    header.setColumnWidth (PresetTableView::nameColumn, 250);
    EditorWindow::pump (50);
    EXPECT_EQ (header.getColumnWidth (PresetTableView::descriptionColumn), table.getListBox().getVisibleRowWidth() - 450);
}

} // namespace cadenzium::test

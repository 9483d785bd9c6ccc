#include "ShellTestSupport.h"

namespace cadenzium::test
{
namespace
{
    juce::ComboBox& box (const char* id) { return EditorWindow::get<juce::ComboBox> (id); }
} // namespace

TEST_F (ShellTest, theSettingsDialogShowsItsItemsWritesTheScaleRevealsTheLogsAndClosesByThemeButtonOrEscape)
{
    ShellProcessor processor;
    EditorWindow window (processor);
    auto& editor = window.getEditorAs<ShellProcessor::Editor>();
    editor.getSettingsDialog().addSetting ("GUI Theme", "cadenzium_gui_theme", { "Classic", "Dark", "Light" }, "Dark");

    window.click (EditorWindow::get ("settings"));
    auto& dialog = editor.getSettingsDialog();
    ASSERT_TRUE (dialog.isShowing());
    EXPECT_EQ (EditorWindow::get<juce::Label> ("settings_version").getText(), "v2.5.0");
    EXPECT_EQ (box ("settings_scale").getSelectedId(), 3);
    EXPECT_EQ (box ("settings_theme").getText(), "Default");
    EXPECT_EQ (box ("settings_cadenzium_gui_theme").getText(), "Dark");

    juce::StringArray scaleItems;
    for (int i = 0; i < box ("settings_scale").getNumItems(); ++i)
        scaleItems.add (box ("settings_scale").getItemText (i) + "=" + juce::String (brindlex::SettingsModal::scaleForItem (box ("settings_scale").getItemId (i))));
    EXPECT_EQ (scaleItems.joinIntoString (" "), "Tiny=0.5 Small=0.75 Normal=1 Big=1.25 Bigger=1.5 Massive=2");
    EXPECT_EQ (brindlex::SettingsModal::itemForScale (1.25), 4);
    EXPECT_EQ (brindlex::SettingsModal::scaleForItem (9), 1.0) << "no such item";

    // The dialog dims the editor behind it.
    expectColourNear (window.pixelAt (editor, { 100.0f, 600.0f }), juce::Colour (0xff111111).overlaidWith (juce::Colour (0xbb000000)));
    window.saveScreenshot ("settings");

    // Chosen with the mouse from the box's list.
    window.click (box ("settings_scale"));
    ASSERT_TRUE (EditorWindow::chooseMenuItem ("Massive"));
    EXPECT_EQ (storedSetting ("scale"), "2.0");
    EXPECT_FLOAT_EQ (editor.getEffectiveScale(), 2.0f);
    EXPECT_EQ (window.getScreenArea().getWidth(), 2488);
    EXPECT_TRUE (dialog.isShowing());

    window.click (box ("settings_cadenzium_gui_theme"));
    ASSERT_TRUE (EditorWindow::chooseMenuItem ("Classic"));
    EXPECT_EQ (storedSetting ("cadenzium_gui_theme"), "Classic");
    EXPECT_GE (editor.settingsChanges, 2);

    // Choosing a theme closes the dialog.
    window.click (box ("settings_theme"));
    ASSERT_TRUE (EditorWindow::chooseMenuItem ("Light"));
    EXPECT_EQ (storedSetting ("theme"), "Light");
    EXPECT_FALSE (dialog.isShowing());

    // Show Log File reveals the logs folder; the close button and Escape close the dialog.
    const TemporaryFolder scratch;
    const auto record = juce::File (scratch.string()).getChildFile ("revealed.txt");
    dialog.setOpenerProgram (makeRecordingOpener (juce::File (scratch.string()), record).getFullPathName());

    window.click (EditorWindow::get ("settings"));
    window.click (EditorWindow::get ("show_log_file"));
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return record.existsAsFile(); }));
    EditorWindow::pump (100);
    EXPECT_EQ (record.loadFileAsString(), processor.getLogger().getLogFile().getParentDirectory().getFullPathName() + "\n");

    window.click (EditorWindow::get ("modal_close"));
    EXPECT_FALSE (dialog.isShowing());

    // Escape, once the user has clicked into the dialog.
    window.click (EditorWindow::get ("settings"));
    window.click (dialog, juce::Point<float> (dialog.getWidth() / 2.0f, dialog.getHeight() / 2.0f + 120.0f));
    EXPECT_TRUE (window.pressKey (juce::KeyPress (juce::KeyPress::escapeKey)));
    EXPECT_FALSE (dialog.isShowing());
}

} // namespace cadenzium::test

#include "ShellTestSupport.h"

#include <iostream>

#include <tests/support/UnprivilegedChild.h>
#include <tests/tarn/CapturingLogger.h>

namespace cadenzium::test
{
namespace
{
    juce::TextEditor& field (const char* id) { return EditorWindow::get<juce::TextEditor> (id); }
} // namespace

TEST_F (ShellTest, aPresetSavedWithTheKeyboardAndMouseIsWrittenAndInTheMenuAtOnce)
{
    ShellProcessor processor;
    processor.getSettings().setValue ("preset_author_name", "Ann Example");
    processor.getToastManager().takeToasts();
    EditorWindow window (processor);
    auto& editor = window.getEditorAs<ShellProcessor::Editor>();
    ASSERT_FALSE (userRoot.exists());
    CapturingLogger log;

    window.xClick (EditorWindow::get ("preset_save"));
    ASSERT_TRUE (editor.getSaveDialog().isShowing());
    EXPECT_TRUE (userRoot.isDirectory());
    EXPECT_TRUE (log.lines.contains ("Creating user preset folder: " + userRoot.getFullPathName()));
    EXPECT_TRUE (EditorWindow::pumpUntil ([] { return field ("save_name").hasKeyboardFocus (false); }));
    EXPECT_TRUE (window.windowHasKeyboardFocus()) << "the text field takes the keys from the host";
    EXPECT_EQ (field ("save_name").getText(), "") << "the Initial Patch gives no name";
    EXPECT_EQ (field ("save_author").getText(), "Ann Example");

    // Characters a file name must not have are refused.
    window.typeText ("Night/Drive* (v2)");
    window.xClick (field ("save_categories"));
    window.typeText ("Arp, Dark;");
    window.xClick (field ("save_description"));
    window.typeText ("For the late set.");
    window.saveScreenshot ("filled");
    window.xClick (EditorWindow::get ("save_confirm"));

    const auto file = userRoot.getChildFile ("NightDrive (v2).bpre");
    ASSERT_TRUE (file.existsAsFile());
    const auto saved = juce::parseXML (file);
    EXPECT_EQ (saved->getStringAttribute ("author"), "Ann Example");
    EXPECT_EQ (saved->getStringAttribute ("categories"), "Arp,Dark");
    EXPECT_EQ (saved->getStringAttribute ("description"), "For the late set.");

    EXPECT_FALSE (editor.getSaveDialog().isShowing());
    EXPECT_EQ (editor.getTopBar().getShownPresetName(), "NightDrive (v2)");
    EXPECT_TRUE (toastTexts (processor.getToastManager()).contains ("Preset saved"));

    const auto items = menuItems (editor.getTopBar().createPresetMenu());
    EXPECT_TRUE (std::any_of (items.begin(), items.end(), [] (const auto& item)
                              { return item.first == "NightDrive (v2)"; }));
}

TEST_F (ShellTest, theDialogRefusesAnEmptyNameKeepsFieldsToTheirCharactersAsksBeforeOverwritingAndOffersTheCurrentPreset)
{
    ShellProcessor processor;
    processor.getSettings().setValue ("preset_author_name", "Last Author");
    processor.getToastManager().takeToasts();
    EditorWindow window (processor);
    auto& dialog = window.getEditorAs<ShellProcessor::Editor>().getSaveDialog();

    window.click (EditorWindow::get ("preset_save"));
    window.click (EditorWindow::get ("save_confirm"));
    EXPECT_TRUE (dialog.isShowing());
    EXPECT_EQ (toastTexts (processor.getToastManager()), juce::StringArray ("ERROR: Please enter a name for the preset"));

    const std::tuple<const char*, juce::String, juce::String> cases[] = {
        { "save_name", juce::String::repeatedString ("Ab", 30), juce::String::repeatedString ("Ab", 20) },
        { "save_name", "Pad: warm, #2 (x)_", "Pad warm 2 (x)_" },
        { "save_categories", "Bass Lead,Arp_2", "BassLead,Arp" },
        { "save_categories", juce::String::repeatedString ("a", 120), juce::String::repeatedString ("a", 100) },
        { "save_author", "J. Doe (2024)_x", "J Doe (2024)_x" },
        { "save_author", juce::String::repeatedString ("b", 120), juce::String::repeatedString ("b", 100) },
        { "save_description", "Anything: goes, even / and ;", "Anything: goes, even / and ;" },
    };

    for (const auto& [id, typed, kept] : cases)
    {
        SCOPED_TRACE (id);
        auto& target = field (id);
        window.click (target);
        target.selectAll();
        window.typeText (typed);
        EXPECT_EQ (target.getText(), kept);
    }

    window.click (EditorWindow::get ("save_cancel"));

    // Saving over an existing preset is asked in the dialog.
    const auto file = userRoot.getChildFile ("Keeper.bpre");
    auto saveAs = [&] (const juce::String& name, const juce::String& description)
    {
        window.click (EditorWindow::get ("preset_save"));
        field ("save_name").setText (name);
        field ("save_description").setText (description);
        window.click (EditorWindow::get ("save_confirm"));
    };

    saveAs ("Keeper", "first");
    ASSERT_TRUE (file.existsAsFile());
    const auto firstText = file.loadFileAsString();

    saveAs ("Keeper", "second");
    ASSERT_TRUE (dialog.isAskingOverwrite());
    window.saveScreenshot ("question");
    window.click (EditorWindow::get ("overwrite_cancel"));
    EXPECT_EQ (file.loadFileAsString(), firstText);
    EXPECT_TRUE (dialog.isShowing()) << "back to the form to choose another name";
    EXPECT_EQ (field ("save_name").getText(), "Keeper");

    window.click (EditorWindow::get ("save_confirm"));
    ASSERT_TRUE (dialog.isAskingOverwrite());
    window.click (EditorWindow::get ("overwrite_confirm"));
    EXPECT_FALSE (dialog.isShowing());
    EXPECT_EQ (juce::parseXML (file)->getStringAttribute ("description"), "second");

    // Closing with the question open answers it with no.
    saveAs ("Keeper", "third");
    ASSERT_TRUE (dialog.isAskingOverwrite());
    window.click (EditorWindow::get ("modal_close"));
    EXPECT_FALSE (dialog.isShowing());
    EXPECT_EQ (juce::parseXML (file)->getStringAttribute ("description"), "second");

    // A factory preset offers its name to type over and its categories, not its description.
    ASSERT_TRUE (processor.getPresetManager().loadPreset (2));
    ASSERT_EQ (processor.getPresetManager().getCurrentPreset().name, "Rising Eighths");
    window.click (EditorWindow::get ("preset_save"));
    EXPECT_TRUE (EditorWindow::pumpUntil ([] { return field ("save_name").hasKeyboardFocus (false); }));
    EXPECT_EQ (field ("save_name").getHighlightedText(), "Rising Eighths");
    EXPECT_EQ (field ("save_description").getText(), "") << "the factory's words are not the musician's";
    EXPECT_EQ (field ("save_categories").getText(), "Arp,Bright");
    EXPECT_EQ (field ("save_author").getText(), "Last Author");

    // Typing replaces the name offered.
    window.typeText ("My Arp");
    EXPECT_EQ (field ("save_name").getText(), "My Arp");
    window.click (EditorWindow::get ("save_confirm"));
    const auto saved = juce::parseXML (userRoot.getChildFile ("My Arp.bpre"));
    ASSERT_NE (saved, nullptr);
    EXPECT_EQ (saved->getStringAttribute ("description"), "");
    EXPECT_EQ (saved->getStringAttribute ("categories"), "Arp,Bright");

    // The musician's own preset offers its own description again.
    processor.getPresetManager().savePreset ("Mine", "Last Author", "For the late set.", "Arp");
    window.click (EditorWindow::get ("preset_save"));
    EXPECT_EQ (field ("save_name").getText(), "Mine");
    EXPECT_EQ (field ("save_description").getText(), "For the late set.");

    // Cancel writes nothing; Escape in a field closes as well.
    window.click (EditorWindow::get ("save_cancel"));
    EXPECT_FALSE (dialog.isShowing());
    window.click (EditorWindow::get ("preset_save"));
    window.click (field ("save_author"));
    window.pressKey (juce::KeyPress (juce::KeyPress::escapeKey));
    EXPECT_FALSE (dialog.isShowing());
    EXPECT_EQ (userRoot.findChildFiles (juce::File::findFiles, true, "*.bpre").size(), 3);
}

TEST_F (ShellTest, aUserFolderThatCannotBeWrittenOrMadeIsReportedWithItsToastsAndClosesTheDialog)
{
    // Permissions mean nothing to root: the dialog runs as an ordinary user, where they count.
    const auto presets = userRoot.getParentDirectory();
    ASSERT_TRUE (presets.createDirectory());

    for (auto folder = presets; folder != juce::File::getSpecialLocation (juce::File::userHomeDirectory).getParentDirectory();
         folder = folder.getParentDirectory())
        ASSERT_EQ (chmod (folder.getFullPathName().toRawUTF8(), 0777), 0);

    // Made here: the child (a copy of this process without its threads) only shows it.
    ShellProcessor processor;
    tarn::ToastManager toasts;
    brindlex::BrindlexSettings settings (juce::File ("/nonexistent/other.settings"));
    brindlex::SavePresetModal dialog (processor.getPresetManager(), settings, toasts);

    // A file where the folder belongs (not even root can make it): the dialog closes again.
    ASSERT_TRUE (userRoot.replaceWithText ("in the way"));
    dialog.show();
    EditorWindow::pump (20);
    EXPECT_FALSE (dialog.isVisible());
    ASSERT_EQ (toastTexts (toasts).size(), 1);
    EXPECT_TRUE (toastTexts (toasts)[0].startsWith ("ERROR: Unable to create user preset folder: "));
    toasts.takeToasts();
    ASSERT_TRUE (userRoot.deleteFile());

    auto showingGives = [&] (const juce::StringArray& expected)
    {
        return runInUnprivilegedChild ([&]
                                       {
                                           dialog.show();

                                           if (toastTexts (toasts) == expected)
                                               return true;

                                           std::cerr << "toasts: " << toastTexts (toasts).joinIntoString (" | ") << "\n";
                                           return false;
                                       });
    };

    // Missing, and its parent takes no new folders.
    ASSERT_EQ (chmod (presets.getFullPathName().toRawUTF8(), 0555), 0);
    EXPECT_TRUE (showingGives ({ "ERROR: Unable to create user preset folder: Permission denied",
                                 "ERROR: No permission to write to top-level presets folder: " + presets.getFullPathName() }));

    // There, but not writable.
    ASSERT_EQ (chmod (presets.getFullPathName().toRawUTF8(), 0777), 0);
    ASSERT_TRUE (userRoot.createDirectory());
    ASSERT_EQ (chmod (userRoot.getFullPathName().toRawUTF8(), 0555), 0);
    EXPECT_TRUE (showingGives ({ "ERROR: Unable to write to user preset folder: " + userRoot.getFullPathName() }));
}

} // namespace cadenzium::test

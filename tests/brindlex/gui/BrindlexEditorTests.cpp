#include "ShellTestSupport.h"

#include <brindlex/UserFolders.h>

namespace cadenzium::test
{

TEST_F (ShellTest, theTopBarCarriesItsTooltipsLeftToRightNavigatesPresetsAndItsPowerButtonFollowsItsParameter)
{
    ShellProcessor processor;
    EditorWindow window (processor);
    auto& topBar = window.getEditorAs<ShellProcessor::Editor>().getTopBar();

    const std::pair<const char*, const char*> controls[] = {
        { "preset_name", "Select a preset" },
        { "preset_browser", "Open the preset browser" },
        { "preset_previous", "Previous preset" },
        { "preset_next", "Next preset" },
        { "preset_save", "Save the current state as a preset" },
        { "manual", "Open the user manual" },
        { "settings", "Open the plugin settings" },
        { "bypass", "Bypass the processing" },
    };

    int lastX = -1;

    for (const auto& [id, tooltip] : controls)
    {
        auto& control = EditorWindow::get<juce::Button> (id);
        EXPECT_EQ (control.getTooltip(), tooltip) << id;
        EXPECT_GT (control.getX(), lastX) << id;
        lastX = control.getX();
    }

    EXPECT_EQ (topBar.getShownPresetName(), "Initial Patch");
    window.click (EditorWindow::get ("preset_next"));
    EXPECT_EQ (topBar.getShownPresetName(), "Octave Spark");
    window.click (EditorWindow::get ("preset_next"));
    EXPECT_EQ (topBar.getShownPresetName(), "Rising Eighths");
    window.click (EditorWindow::get ("preset_previous"));
    EXPECT_EQ (processor.getPresetManager().getCurrentPreset().name, "Octave Spark");

    // A load from elsewhere (the host, a browser) shows too.
    processor.getPresetManager().loadPreset (3);
    EXPECT_EQ (topBar.getShownPresetName(), "Offbeat Stabs");

    // The menu: folders as submenus, items load their preset.
    const std::vector<std::pair<juce::String, int>> expected {
        { "Initial Patch", 1 }, { "Arpeggios/Octave Spark", 2 }, { "Arpeggios/Rising Eighths", 3 }, { "Chord Rhythms/Offbeat Stabs", 4 }
    };
    EXPECT_EQ (menuItems (topBar.createPresetMenu()), expected);
    topBar.presetMenuItemChosen (2);
    EXPECT_EQ (topBar.getShownPresetName(), "Octave Spark");

    // Opening the menu from the name box and picking an entry with the mouse.
    window.xClick (EditorWindow::get ("preset_name"));
    ASSERT_TRUE (EditorWindow::isMenuOpen());
    ASSERT_TRUE (EditorWindow::chooseMenuItem ("Chord Rhythms"));
    window.saveScreenshot ("menu");
    ASSERT_TRUE (EditorWindow::chooseMenuItem ("Offbeat Stabs"));
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return topBar.getShownPresetName() == "Offbeat Stabs"; }));

    // The power button, clicked and automated.
    auto& power = EditorWindow::get<juce::Button> ("bypass");
    EXPECT_TRUE (power.getToggleState());
    window.click (power);
    EXPECT_EQ (processor.getIntParameterValue ("enable"), 0);
    window.saveScreenshot ("bypassed");
    window.click (power);
    EXPECT_EQ (processor.getIntParameterValue ("enable"), 1);
    processor.getParameterState().getParameter ("enable")->setValueNotifyingHost (0.0f);
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return ! power.getToggleState(); }));
}

TEST_F (ShellTest, toastsShowInOrderOverEverythingOnTheirBlackAreaAndGoAway)
{
    ShellProcessor processor;
    auto& toasts = processor.getToastManager();
    toasts.takeToasts();

    EditorWindow window (processor);
    auto& editor = window.getEditorAs<ShellProcessor::Editor>();
    auto& display = editor.getToastDisplay();

    toasts.addToast ("Preset saved", tarn::Toast::information);
    toasts.addToast ("Couldn't save preset!", tarn::Toast::error);
    window.click (EditorWindow::get ("settings"));
    EditorWindow::pump (30);

    const auto shown = display.getToastComponents();
    ASSERT_EQ (shown.size(), 2u);
    EXPECT_EQ (shown[0]->getToast().text, "Preset saved");
    EXPECT_EQ (shown[1]->getToast().text, "ERROR: Couldn't save preset!");
    EXPECT_LT (shown[0]->getY(), shown[1]->getY()) << "the newest lowest";
    const auto toastCentre = editor.getLocalPoint (shown[1], shown[1]->getLocalBounds().getCentre());
    EXPECT_EQ (editor.getComponentAt (toastCentre), shown[1]) << "above the open dialog";

    // Black at alpha CC on an opaque plate of the window's background, so the dialog's
    // dimming (or keys, or notes) never shows through the words.
    const auto behind = juce::Colour (0xff111111).overlaidWith (juce::Colour (0xbb000000));
    expectColourNear (window.pixelAt (*shown[0], { 40.0f, 3.0f }), juce::Colour (0xff111111).overlaidWith (juce::Colour (0xcc000000)));
    expectColourNear (window.pixelAt (editor, { 300.0f, 300.0f }), behind);
    window.saveScreenshot ("toasts");

    // Clicking one finishes it; the other finishes by itself.
    window.click (*shown[0]);
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return display.getToastComponents().size() == 1; }));
    EXPECT_EQ (toasts.getNumToasts(), 1);

    tarn::ToastComponent::setDisplayTimeScale (0.01f);
    toasts.addToast ("Short", tarn::Toast::information);
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return display.getToastComponents().size() == 1; }, 2000))
        << "toasts added later time out";
}

TEST_F (ShellTest, theManualButtonOpensTheInstalledManualOrTheWebPageWithAToast)
{
    const TemporaryFolder scratch;
    const auto record = juce::File (scratch.string()).getChildFile ("opened.txt");

    ShellProcessor processor;
    processor.getToastManager().takeToasts();
    EditorWindow window (processor);
    auto& editor = window.getEditorAs<ShellProcessor::Editor>();
    editor.getManualOpener().setOpenerProgram (makeRecordingOpener (juce::File (scratch.string()), record).getFullPathName());

    window.click (EditorWindow::get ("manual"));
    EXPECT_EQ (toastTexts (processor.getToastManager()),
               juce::StringArray ("ERROR: Sorry, we can't find the manual installed. Taking you to the Brindlex website."));
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return editor.getManualOpener().getNumRunningOpeners() == 0; }));
    EXPECT_EQ (record.loadFileAsString(), "https://brindlex.invalid/plugins/cadenzium-2#plugindownloads\n");

    // A package's copy among the system's documents, when the user has none of their own.
    const auto openedManual = [&]
    {
        record.deleteFile();
        window.click (EditorWindow::get ("manual"));
        EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return editor.getManualOpener().getNumRunningOpeners() == 0; }));
        return record.loadFileAsString();
    };
    const auto installed = brindlex::UserFolders::getInstalledDocuments ("Cadenzium 2", "Cadenzium 2 Manual 2.5.0.pdf")[0];
    ASSERT_TRUE (installed.getParentDirectory().createDirectory() && installed.replaceWithText ("%PDF"));
    EXPECT_EQ (openedManual(), installed.getFullPathName() + "\n");

    // The user's own copy comes first.
    const auto manual = productFolder.getChildFile ("Cadenzium 2 Manual 2.5.0.pdf");
    ASSERT_TRUE (manual.replaceWithText ("%PDF"));
    EXPECT_EQ (openedManual(), manual.getFullPathName() + "\n") << "one argument, no shell";
    EXPECT_TRUE (installed.getParentDirectory().getParentDirectory().getParentDirectory().deleteRecursively());
    EXPECT_EQ (toastTexts (processor.getToastManager()).size(), 1) << "a manual shown needs no word";

    // A desktop with no program for PDF files: xdg-open fails (with its code 3), and the
    // toast says where the manual is.
    processor.getToastManager().takeToasts();
    const auto failing = juce::File (scratch.string()).getChildFile ("no-viewer");
    ASSERT_TRUE (failing.replaceWithText ("#!/bin/sh\nexit 3\n", false, false, "\n"));
    ASSERT_TRUE (failing.setExecutePermission (true));
    editor.getManualOpener().setOpenerProgram (failing.getFullPathName());
    window.click (EditorWindow::get ("manual"));
    const auto cannotOpen = juce::StringArray ("ERROR: Could not open the manual: no program to show PDF files was found. It is at " + manual.getFullPathName());
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return toastTexts (processor.getToastManager()) == cannotOpen; }))
        << toastTexts (processor.getToastManager()).joinIntoString ("\n");

    // No opener at all: the same; without the manual, the web page's address.
    processor.getToastManager().takeToasts();
    editor.getManualOpener().setOpenerProgram (juce::File (scratch.string()).getChildFile ("missing").getFullPathName());
    window.click (EditorWindow::get ("manual"));
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return toastTexts (processor.getToastManager()) == cannotOpen; }));
    processor.getToastManager().takeToasts();
    ASSERT_TRUE (manual.deleteFile());
    window.click (EditorWindow::get ("manual"));
    const juce::StringArray cannotOpenPage { "ERROR: Sorry, we can't find the manual installed. Taking you to the Brindlex website.",
                                             "ERROR: Could not open the web page: no web browser was found. Its address is https://brindlex.invalid/plugins/cadenzium-2#plugindownloads" };
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return toastTexts (processor.getToastManager()) == cannotOpenPage; }))
        << toastTexts (processor.getToastManager()).joinIntoString ("\n");
}

} // namespace cadenzium::test

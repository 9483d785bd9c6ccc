// How the preset browser and the Export Render overlay look over the product window, in each
// colour scheme and at the smallest window: screenshots kept as artefacts (look at them), and
// the layout of both checked for clipped or overlapping parts.

#include "FileCommandsTestSupport.h"

#include <source/processor/state/SettingsTree.h>

namespace cadenzium::test
{
namespace
{
    /** The layout problems but the rows a list keeps ready below its last one. */
    juce::String layoutProblemsOf (juce::Component& component)
    {
        juce::StringArray problems;

        for (const auto& problem : findLayoutProblems (component))
            if (! (problem.contains ("RowComponent") && problem.contains ("sticks out")))
                problems.add (problem);

        return problems.joinIntoString ("\n");
    }
} // namespace

TEST_F (FileCommandsTest, theBrowserAndTheRenderOverlayLieWholeOverTheWindowInEachSchemeAndAtTheSmallestSize)
{
    const auto factory = brindlex::BrindlexProcessor::getFactoryPresetFolder ("Cadenzium 2");
    ASSERT_TRUE (juce::File (CADENZIUM_FACTORY_PRESETS).copyDirectoryTo (factory));
    const auto chords = copyChords ("Pop Four Chords.mid");

    for (const auto* scheme : { "Dark", "Light", "Classic" })
    {
        SCOPED_TRACE (scheme);
        writeSetting (Cadenzium2AudioProcessorEditor::themeSettingKey, scheme);

        Cadenzium2AudioProcessor processor;
        ASSERT_TRUE (processor.getPresetManager().loadPresetFile (factory.getChildFile ("Arpeggios/Rising Eighths.bpre")));
        EditorWindow window (processor);
        auto& editor = editorOf (window);
        const auto small = juce::String (scheme) == "Dark";

        if (small)
            editor.setSize (SettingsTree::minWindowWidth, SettingsTree::minWindowHeight);

        // The browser, from the top bar, with a folder, a badge and the loaded preset picked.
        window.click (EditorWindow::get ("preset_browser"));
        auto& browser = editor.getPresetBrowser();
        ASSERT_TRUE (browser.isShowing());
        window.click (EditorWindow::get ("category_badge_Arpeggio"));
        EXPECT_EQ (browser.getTable().getSelectedRow(), browser.getModel().findVisibleRow (processor.getPresetManager().getCurrentPreset()));
        EXPECT_EQ (layoutProblemsOf (browser), "");
        window.saveScreenshot (juce::String (scheme) + (small ? " smallest browser" : " browser"));
        window.click (EditorWindow::get ("preset_browser"));
        EXPECT_FALSE (browser.isVisible());

        // The render overlay, started as a chosen or dropped file starts it.
        auto& overlay = editor.getFileCommands().getRenderOverlay();
        ASSERT_TRUE (editor.getFileCommands().getRenderCommand().render (chords).wasOk());
        ASSERT_TRUE (EditorWindow::pumpUntil ([&] { return overlay.isShowing(); }, 30000));
        EXPECT_EQ (overlay.getBounds(), editor.getLocalBounds());
        EXPECT_EQ (layoutProblemsOf (overlay), "");
        window.saveScreenshot (juce::String (scheme) + (small ? " smallest render" : " render"));
        window.click (EditorWindow::get ("render_close"));
    }
}

} // namespace cadenzium::test

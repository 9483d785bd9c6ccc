// A gallery of the window to look at (build/test-artefacts/screenshots): every colour scheme
// at the smallest and the largest size, scale 2, and each dialog and popup over it. What can
// be asserted is: each lies whole inside the window, and at scale 2 it is twice as large.

#include <source/commands/EditCommands.h>
#include <source/editor/Cadenzium2AudioProcessorEditor.h>
#include <source/editor/overlays/CadenziumRowPopup.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tests/source/editor/EditorTestHelpers.h>
#include <tests/support/editor/ProductEditorTest.h>

#include <gtest/gtest.h>

namespace cadenzium::test
{
namespace
{
    /** What a dialog or popup of the window covers, in the screen's physical pixels. */
    juce::Rectangle<float> galleryAreaOf (EditorWindow& window, juce::Component& component)
    {
        const auto bounds = component.getLocalBounds().toFloat();
        return { window.toScreen (component, bounds.getTopLeft()).toFloat(), window.toScreen (component, bounds.getBottomRight()).toFloat() };
    }

    /** Each dialog or popup the window shows over itself: how to open it, what it is called
        (its component ID), and how to close it again. */
    struct GalleryOpening
    {
        const char* name;
        std::function<void (EditorWindow&, Cadenzium2AudioProcessorEditor&)> open;
        const char* shownId;
    };

    const std::vector<GalleryOpening>& galleryOpenings()
    {
        static const std::vector<GalleryOpening> list {
            { "settings", [] (EditorWindow& w, auto&) { w.click (EditorWindow::get ("settings")); }, "settings_dialog" },
            { "save", [] (EditorWindow& w, auto&) { w.click (EditorWindow::get ("preset_save")); }, "save_dialog" },
            { "browser", [] (EditorWindow& w, auto&) { w.click (EditorWindow::get ("preset_browser")); }, "preset_browser_panel" },
            { "row settings", [] (EditorWindow& w, auto& e) { w.click (e.getRowEditor().getRow (1)); }, "row_popup" },
            { "import chooser", [] (EditorWindow& w, auto&) { w.click (EditorWindow::get ("import_midi")); }, "file_chooser" },
            { "render chooser", [] (EditorWindow& w, auto&) { w.click (EditorWindow::get ("render_midi")); }, "file_chooser" },
            { "v1 preset chooser", [] (EditorWindow& w, auto&) { w.click (EditorWindow::get ("load_v1_preset")); }, "file_chooser" },
            { "bulk convert chooser",
              [] (EditorWindow& w, auto&)
              {
                  w.rightClick (EditorWindow::get ("load_v1_preset"));
                  EditorWindow::chooseMenuItem ("Bulk Convert");
              },
              "file_chooser" },
        };
        return list;
    }

    /** Opens each in turn, keeps its picture, and closes it again; returns the area each
        covered, by name. */
    std::map<std::string, juce::Rectangle<float>> showEachOverlay (EditorWindow& window, const juce::String& prefix)
    {
        auto& editor = window.getEditorAs<Cadenzium2AudioProcessorEditor>();
        std::map<std::string, juce::Rectangle<float>> areas;

        for (const auto& opening : galleryOpenings())
        {
            SCOPED_TRACE (opening.name);
            opening.open (window, editor);

            if (! EditorWindow::pumpUntil ([&] { return EditorWindow::find (opening.shownId) != nullptr; }))
            {
                ADD_FAILURE() << opening.name << " did not open";
                continue;
            }

            EditorWindow::pump (60);
            auto& shown = EditorWindow::get (opening.shownId);
            areas[opening.name] = galleryAreaOf (window, shown);
            EXPECT_TRUE (galleryAreaOf (window, editor).expanded (0.5f).contains (areas[opening.name])) << areas[opening.name].toString();
            window.saveScreenshot (prefix + " " + opening.name);

            // Each closes the way a musician closes it.
            const juce::String id (opening.shownId);
            if (id == "preset_browser_panel")
                window.click (EditorWindow::get ("preset_browser"));
            else if (id == "row_popup")
                editor.getRowEditor().closePopup();
            else
                window.click (EditorWindow::get ("modal_close"));

            EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return EditorWindow::find (opening.shownId) == nullptr; })) << opening.name << " stayed open";
        }

        return areas;
    }

    void makeGallerySong (Cadenzium2AudioProcessor& processor)
    {
        processor.getToastManager().takeToasts();
        EditCommands commands (processor);
        commands.newRows (3);
        commands.renamePhrase (0, "Verse");
        commands.generatePhrase (0, consts::RegenerationMode::phrase);
    }

    using ScreenshotGallery = ProductEditorTest;
} // namespace

TEST_F (ScreenshotGallery, eachSchemeAtTheSmallestAndLargestSizeWithEveryDialogAndPopup)
{
    for (const auto* scheme : { "Dark", "Light", "Classic" })
        for (const auto size : { juce::Point<int> (1000, 800), juce::Point<int> (2000, 1500) })
        {
            const auto name = juce::String (scheme) + " " + juce::String (size.x) + "x" + juce::String (size.y);
            SCOPED_TRACE (name);
            writeSetting ("cadenzium_gui_theme", scheme);
            Cadenzium2AudioProcessor processor;
            makeGallerySong (processor);
            processor.setEditorSetting ("editor_window_width", size.x);
            processor.setEditorSetting ("editor_window_height", size.y);

            EditorWindow window (processor);
            EditorWindow::pump (100);
            window.saveScreenshot (name);
            editorOf (window).setSidebarView ("generation");
            EditorWindow::pump (100);
            window.saveScreenshot (name + " generation");
            editorOf (window).setSidebarView ("playback");

            // The dialogs once per scheme, over the smallest window, where they are tightest.
            if (size.x == 1000)
                showEachOverlay (window, name);
        }
}

TEST_F (ScreenshotGallery, atScaleTwoEveryDialogAndPopupIsTwiceAsLarge)
{
    std::map<std::string, juce::Rectangle<float>> areasAt[2];

    for (const auto scale : { 1, 2 })
    {
        writeSetting ("scale", (double) scale);
        Cadenzium2AudioProcessor processor;
        makeGallerySong (processor);
        EditorWindow window (processor);
        EditorWindow::pump (100);
        window.saveScreenshot ("scale " + juce::String (scale));
        areasAt[scale - 1] = showEachOverlay (window, "scale " + juce::String (scale));
    }

    for (const auto& [name, area] : areasAt[0])
    {
        ASSERT_EQ (areasAt[1].count (name), 1u) << name;
        EXPECT_NEAR (areasAt[1][name].getWidth(), 2.0f * area.getWidth(), 4.0f) << name;
        EXPECT_NEAR (areasAt[1][name].getHeight(), 2.0f * area.getHeight(), 4.0f) << name;
    }
}
} // namespace cadenzium::test

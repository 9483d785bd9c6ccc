#include "FileCommandsTestSupport.h"

#include <tests/source/import/V1TestPresets.h>

#include <atomic>

namespace cadenzium::test
{

TEST_F (FileCommandsTest, bulkConvertShowsProgressUpdatesLibraryAndHostAndACancelKeepsWhatIsDone)
{
    constexpr int numFiles = 8;

    for (int i = 0; i < numFiles; ++i)
        ASSERT_TRUE (folder().getChildFile ("Old/" + juce::String (i < 4 ? "Pads/" : "Leads/") + "Preset " + juce::String (i) + ".bpre")
                         .create()
                         .wasOk());

    for (auto& file : folder().getChildFile ("Old").findChildFiles (juce::File::findFiles, true, "*.bpre"))
        ASSERT_TRUE (file.replaceWithText (v1Preset()));

    Cadenzium2AudioProcessor processor;
    EditorWindow window (processor);
    auto& editor = editorOf (window);
    auto& command = editor.getFileCommands().getBulkConvertCommand();
    auto& overlay = editor.getFileCommands().getBulkImporterOverlay();
    auto& presets = processor.getPresetManager();

    HostListener host (processor);

    // The browser is open meanwhile: it shows the converted presets at the end.
    editor.setBrowserShown (true);
    const auto presetsBefore = presets.getNumPresets();
    std::optional<int> converted;
    command.onFinished = [&] (int count)
    { converted = count; };

    ASSERT_TRUE (command.convert (folder().getChildFile ("Old")));
    EXPECT_TRUE (overlay.isShowing());
    EXPECT_EQ (overlay.getTitleText(), "Importing Presets...");

    // Hold the importer before its fourth file until the overlay has shown the first three.
    std::atomic<bool> released { false };
    command.getImporter()->beforeEachFile = [&] (int file)
    {
        for (int i = 0; file == 3 && ! released.load() && i < 2000; ++i)
            juce::Thread::sleep (5);
    };

    // (set after start: the importer lists the folder first, which takes longer than this)
    ASSERT_TRUE (EditorWindow::pumpUntil ([&] { return overlay.getProgress() >= 3.0 / numFiles; }));
    EXPECT_LT (overlay.getProgress(), 1.0);
    EXPECT_FALSE (converted.has_value()) << "progress is shown before the end";
    window.saveScreenshot ("progress");
    released = true;

    ASSERT_TRUE (EditorWindow::pumpUntil ([&] { return converted.has_value(); }, 30000));
    EXPECT_EQ (*converted, numFiles);
    EXPECT_FALSE (overlay.isShowing());
    EXPECT_FALSE (command.isConverting());
    EXPECT_EQ (presets.getNumPresets(), presetsBefore + numFiles);
    EXPECT_GE (host.programChanges, 1) << "the host re-reads its program list";

    auto& browser = editor.getPresetBrowser();
    EXPECT_NE (browser.findBadge ("v1"), nullptr);
    EXPECT_NE (browser.getTree().findItem ({ "f_user", "f_v1" }), nullptr);
    window.click (*browser.findBadge ("v1"));
    EXPECT_EQ (browser.getTable().getPresets().size(), (size_t) numFiles);
    EXPECT_TRUE (presets.getUserRoot().getChildFile ("v1/Pads/Preset 2.bpre").existsAsFile());

    // A second conversion, cancelled: it keeps what was converted and closes the overlay.
    ASSERT_TRUE (folder().getChildFile ("Older").createDirectory());
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE (folder().getChildFile ("Older/Preset " + juce::String (i) + ".bpre").replaceWithText (v1Preset()));

    ASSERT_TRUE (command.convert (folder().getChildFile ("Older")));
    std::atomic<bool> holding { false }, letGo { false };
    command.getImporter()->beforeEachFile = [&] (int file)
    {
        if (file != 2)
            return;

        holding = true;

        for (int i = 0; ! letGo.load() && i < 2000; ++i)
            juce::Thread::sleep (5);
    };

    ASSERT_TRUE (EditorWindow::pumpUntil ([&] { return holding.load(); }));
    EXPECT_FALSE (command.convert (folder().getChildFile ("Older"))) << "one conversion at a time";

    // Cancel waits for the file in hand; release it from another thread meanwhile.
    std::thread releaser ([&] { juce::Thread::sleep (50); letGo = true; });
    window.click (EditorWindow::get ("bulk_import_cancel"));
    releaser.join();

    EXPECT_FALSE (command.isConverting());
    EXPECT_FALSE (overlay.isShowing());
    const auto written = presets.getUserRoot().getChildFile ("v1").findChildFiles (juce::File::findFiles, false, "*.bpre");
    EXPECT_GE (written.size(), 2);
    EXPECT_LE (written.size(), 3);
    EXPECT_EQ (presets.getNumPresets(), presetsBefore + numFiles + written.size()) << "the library shows them";
}

} // namespace cadenzium::test

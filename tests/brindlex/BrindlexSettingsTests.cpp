#include <brindlex/BrindlexLogger.h>
#include <brindlex/BrindlexSettings.h>
#include <tests/support/TemporaryFolder.h>
#include <tests/support/UnprivilegedChild.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

using brindlex::BrindlexSettings;

namespace
{
juce::File settingsFileIn (const cadenzium::test::TemporaryFolder& folder)
{
    return juce::File (folder.string()).getChildFile ("Brindlex/Cadenzium 2/settings.settings");
}
} // namespace

TEST (BrindlexSettings, missingFileGivesDefaultsAndSavingCreatesTheFolders)
{
    cadenzium::test::TemporaryFolder folder;
    const auto file = settingsFileIn (folder);

    BrindlexSettings settings (file);
    EXPECT_DOUBLE_EQ (settings.getDouble ("scale", 1.0), 1.0);
    EXPECT_EQ (settings.getString ("cadenzium_gui_theme", "Dark"), "Dark");
    EXPECT_TRUE (settings.getValue ("preset_author_name").isVoid());

    settings.setValue ("scale", 1.25);
    EXPECT_TRUE (settings.saveNow());
    EXPECT_TRUE (file.existsAsFile());

    BrindlexSettings reread (file);
    EXPECT_DOUBLE_EQ (reread.getDouble ("scale", 1.0), 1.25);
}

TEST (BrindlexSettings, keysTheProgramDoesNotKnowSurviveASave)
{
    cadenzium::test::TemporaryFolder folder;
    const auto file = settingsFileIn (folder);
    file.getParentDirectory().createDirectory();
    file.replaceWithText ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<PROPERTIES>\n"
                          "  <VALUE name=\"from_a_newer_version\" val=\"keep me\"/>\n"
                          "  <VALUE name=\"Theme\" val=\"case matters\"/>\n</PROPERTIES>\n");

    {
        BrindlexSettings settings (file);
        settings.setValue ("theme", "Light");
        ASSERT_TRUE (settings.saveNow());
    }

    BrindlexSettings reread (file);
    EXPECT_EQ (reread.getString ("from_a_newer_version"), "keep me");
    EXPECT_EQ (reread.getString ("Theme"), "case matters");
    EXPECT_EQ (reread.getString ("theme"), "Light");
}

TEST (BrindlexSettings, aChangeIsSavedAfterTheDelayWithoutAnExplicitSave)
{
    cadenzium::test::TemporaryFolder folder;
    const auto file = settingsFileIn (folder);
    BrindlexSettings settings (file);

    settings.setValue ("preset_author_name", "Ada");
    EXPECT_FALSE (file.existsAsFile());

    juce::MessageManager::getInstance()->runDispatchLoopUntil (BrindlexSettings::saveDelayMs + 700);
    ASSERT_TRUE (file.existsAsFile());
    EXPECT_TRUE (file.loadFileAsString().contains ("Ada"));
}

TEST (BrindlexSettings, failureLinesExplainWhatStoodInTheWay)
{
    cadenzium::test::TemporaryFolder folder;
    const juce::File root (folder.string());

    const auto missingEverywhere = BrindlexSettings::describeSaveFailure (root.getChildFile ("a/b/settings.settings"));
    ASSERT_EQ (missingEverywhere.size(), 2);
    EXPECT_EQ (missingEverywhere[0], "Unable to save the custom settings...");
    EXPECT_EQ (missingEverywhere[1], "   ...Settings file doesn't exist");

    const auto writable = root.getChildFile ("settings.settings");
    writable.replaceWithText ("x");
    const auto lines = BrindlexSettings::describeSaveFailure (writable);
    ASSERT_EQ (lines.size(), 3);
    EXPECT_EQ (lines[1], "   ...Settings file has write access");
    EXPECT_EQ (lines[2], "   ...Parent folder has write access");
}

TEST (BrindlexSettings, aReadOnlySettingsFileKeepsTheChangeInMemoryAndLogsWhy)
{
    cadenzium::test::TemporaryFolder folder;
    const juce::File root (folder.string());
    const auto file = root.getChildFile ("settings.settings");
    const auto logFile = root.getChildFile ("log.log");
    const juce::String original = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<PROPERTIES>\n"
                                  "  <VALUE name=\"scale\" val=\"1.0\"/>\n</PROPERTIES>\n";
    file.replaceWithText (original);
    const auto before = file.loadFileAsString();
    logFile.create();

    // As root every file is writable, so the check runs as an unprivileged user.
    chmod (folder.string().c_str(), 0777);
    chmod (file.getFullPathName().toRawUTF8(), 0444);
    chmod (logFile.getFullPathName().toRawUTF8(), 0666);

    const bool childPassed = cadenzium::test::runInUnprivilegedChild ([&]
                                                                      {
        brindlex::BrindlexLogger logger (logFile);
        juce::Logger::setCurrentLogger (&logger);

        BrindlexSettings settings (file);
        settings.setValue ("scale", 1.5);
        const bool saved = settings.saveNow();
        const bool kept = juce::approximatelyEqual (settings.getDouble ("scale", 0.0), 1.5);

        juce::Logger::setCurrentLogger (nullptr);
        return ! saved && kept; });

    EXPECT_TRUE (childPassed);
    EXPECT_EQ (file.loadFileAsString(), before);

    juce::StringArray lines;
    lines.addLines (logFile.loadFileAsString());
    lines.removeEmptyStrings();

    ASSERT_EQ (lines.size(), 3);
    EXPECT_EQ (lines[0].substring (20), "Unable to save the custom settings...");
    EXPECT_EQ (lines[1].substring (20), "   ...Settings file has no write access");
    EXPECT_EQ (lines[2].substring (20), "   ...Parent folder has write access");
}

#include <brindlex/BrindlexLogger.h>
#include <brindlex/BrindlexSettings.h>
#include <tests/support/TemporaryFolder.h>
#include <tests/support/UnprivilegedChild.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

using brindlex::BrindlexSettings;

TEST (BrindlexSettings, aMissingFileGivesDefaultsSavesKeepKeysTheProgramDoesNotKnowAndAChangeIsSavedAfterTheDelay)
{
    cadenzium::test::TemporaryFolder folder;
    const auto file = juce::File (folder.string()).getChildFile ("Brindlex/Cadenzium 2/settings.settings");

    {
        BrindlexSettings settings (file);
        EXPECT_TRUE (settings.getValue ("preset_author_name").isVoid());
        settings.setValue ("scale", 1.25);
        EXPECT_TRUE (settings.saveNow()) << "the folders are created";
    }

    file.replaceWithText (file.loadFileAsString().replace ("</PROPERTIES>", "<VALUE name=\"from_a_newer_version\" val=\"keep me\"/><VALUE name=\"Theme\" val=\"case matters\"/></PROPERTIES>"));

    {
        BrindlexSettings settings (file);
        EXPECT_DOUBLE_EQ (settings.getDouble ("scale", 1.0), 1.25);
        settings.setValue ("theme", "Light");
        ASSERT_TRUE (settings.saveNow());
    }

    BrindlexSettings reread (file);
    EXPECT_EQ (reread.getString ("from_a_newer_version"), "keep me");
    EXPECT_EQ (reread.getString ("Theme"), "case matters");
    EXPECT_EQ (reread.getString ("theme"), "Light");

    // Without an explicit save.
    reread.setValue ("preset_author_name", "Ada");
    EXPECT_FALSE (file.loadFileAsString().contains ("Ada"));
    juce::MessageManager::getInstance()->runDispatchLoopUntil (BrindlexSettings::saveDelayMs + 700);
    EXPECT_TRUE (file.loadFileAsString().contains ("Ada"));
}

TEST (BrindlexSettings, aFailedSaveKeepsTheChangeInMemoryAndLogsWhatStoodInTheWay)
{
    cadenzium::test::TemporaryFolder folder;
    const juce::File root (folder.string());
    const auto missingEverywhere = BrindlexSettings::describeSaveFailure (root.getChildFile ("a/b/settings.settings"));
    EXPECT_EQ (missingEverywhere, juce::StringArray ({ "Unable to save the custom settings...", "   ...Settings file doesn't exist" }));
    const auto file = root.getChildFile ("settings.settings");
    const auto logFile = root.getChildFile ("log.log");
    file.replaceWithText ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<PROPERTIES>\n  <VALUE name=\"scale\" val=\"1.0\"/>\n</PROPERTIES>\n");
    EXPECT_EQ (BrindlexSettings::describeSaveFailure (file)[1], "   ...Settings file has write access");
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

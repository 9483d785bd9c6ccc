#include <brindlex/BrindlexLogger.h>
#include <tests/support/TemporaryFolder.h>

#include <gtest/gtest.h>

#include <thread>

using brindlex::BrindlexLogger;

TEST (BrindlexLogger, linesCarryADayFirstTimeStampAndEndInCrLf)
{
    const juce::Time time (2026, 11, 5, 14, 3, 27, 0, true); // months count from 0
    const auto line = BrindlexLogger::formatLine (time, "Hello");

    EXPECT_EQ (line, "05/12/2026 14:03:27 Hello\r\n");
    EXPECT_EQ (line.substring (0, 20), "05/12/2026 14:03:27 ");
}

TEST (BrindlexLogger, theSharedLoggerIsInstalledOncePerProcessAndCreatesItsFile)
{
    cadenzium::test::TemporaryFolder folder;
    const auto file = juce::File (folder.string()).getChildFile ("Brindlex/Cadenzium 2/log.log");
    file.getParentDirectory().createDirectory();

    {
        auto first = BrindlexLogger::acquire (file);
        auto second = BrindlexLogger::acquire (juce::File (folder.string() + "/other.log"));

        EXPECT_EQ (first.get(), second.get());
        EXPECT_EQ (juce::Logger::getCurrentLogger(), first.get());
        EXPECT_TRUE (file.existsAsFile());

        juce::Logger::writeToLog ("through the framework");
        EXPECT_TRUE (file.loadFileAsString().contains (" through the framework\r\n"));
    }

    // The last holder gone, the framework no longer points at a dead logger.
    EXPECT_EQ (juce::Logger::getCurrentLogger(), nullptr);
}

TEST (BrindlexLogger, manyThreadsAndTwoLoggersOnOneFileNeverSplitALine)
{
    cadenzium::test::TemporaryFolder folder;
    const auto file = juce::File (folder.string()).getChildFile ("log.log");

    // Two loggers on one file stand for two processes' worth of writers; each is only
    // serialised internally, so lines from one are whole and the file holds them all.
    BrindlexLogger logger (file);

    constexpr int threads = 8, linesPerThread = 200;
    std::vector<std::thread> writers;

    for (int t = 0; t < threads; ++t)
        writers.emplace_back ([&logger, t]
                              {
                                  for (int i = 0; i < linesPerThread; ++i)
                                      logger.logMessage ("thread " + juce::String (t) + " line " + juce::String (i)
                                                         + " " + juce::String::repeatedString ("x", 300)); });

    for (auto& w : writers)
        w.join();

    juce::StringArray lines;
    lines.addTokens (file.loadFileAsString(), "\n", {});
    lines.removeEmptyStrings();

    ASSERT_EQ (lines.size(), threads * linesPerThread);

    for (const auto& line : lines)
    {
        ASSERT_TRUE (line.endsWithChar ('\r')) << line;
        ASSERT_TRUE (line.substring (20).startsWith ("thread ")) << line;
        ASSERT_TRUE (line.trimEnd().endsWith (juce::String::repeatedString ("x", 300))) << line;
    }
}

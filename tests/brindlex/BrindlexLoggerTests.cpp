#include <brindlex/BrindlexLogger.h>
#include <tests/support/TemporaryFolder.h>

#include <gtest/gtest.h>

#include <thread>

using brindlex::BrindlexLogger;

TEST (BrindlexLogger, theSharedLoggerIsInstalledOncePerProcessAndWritesDayFirstLinesEndingInCrLf)
{
    EXPECT_EQ (BrindlexLogger::formatLine (juce::Time (2026, 11, 5, 14, 3, 27, 0, true), "Hello"), "05/12/2026 14:03:27 Hello\r\n"); // months count from 0

    cadenzium::test::TemporaryFolder folder;
    const auto file = juce::File (folder.string()).getChildFile ("Brindlex/Cadenzium 2/log.log");
    file.getParentDirectory().createDirectory();

    {
        auto first = BrindlexLogger::acquire (file);
        auto second = BrindlexLogger::acquire (juce::File (folder.string() + "/other.log"));
        EXPECT_EQ (first.get(), second.get());
        EXPECT_EQ (juce::Logger::getCurrentLogger(), first.get());
        juce::Logger::writeToLog ("through the framework");
        EXPECT_TRUE (file.loadFileAsString().contains (" through the framework\r\n"));
    }

    EXPECT_EQ (juce::Logger::getCurrentLogger(), nullptr) << "the last holder gone, the framework points at no dead logger";
}

TEST (BrindlexLogger, manyThreadsWritingAtOnceNeverSplitALine)
{
    cadenzium::test::TemporaryFolder folder;
    const auto file = juce::File (folder.string()).getChildFile ("log.log");
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

#include <brindlex/BrindlexLogger.h>
#include <tests/support/TemporaryFolder.h>

#include <gtest/gtest.h>

#include <thread>

using brindlex::BrindlexLogger;

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

#include <brindlex/BrindlexLogger.h>
#include <tests/support/TemporaryFolder.h>

#include <gtest/gtest.h>


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


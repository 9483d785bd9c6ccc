#include <brindlex/gui/FileListener.h>
#include <tests/support/TemporaryFolder.h>

#include <filesystem>
#include <gtest/gtest.h>

namespace brindlex
{

TEST (FileListener, aWriteCreationOrDeletionIsBroadcastOnceAndNothingElse)
{
    const cadenzium::test::TemporaryFolder folder;
    const auto file = juce::File (folder.string()).getChildFile ("settings.settings");

    struct Counter : juce::ChangeListener
    {
        void changeListenerCallback (juce::ChangeBroadcaster*) override { ++changes; }
        int changes = 0;
    } counter;

    FileListener listener (file);
    listener.addChangeListener (&counter);
    EXPECT_EQ (listener.getLastSeenTime(), 0) << "a missing file counts as 0";
    EXPECT_FALSE (listener.checkNow());

    const auto path = file.getFullPathName().toStdString();
    const auto second = std::filesystem::file_time_type() + std::chrono::hours (500000);

    ASSERT_TRUE (file.replaceWithText ("a"));
    std::filesystem::last_write_time (path, second);
    EXPECT_TRUE (listener.checkNow());
    EXPECT_FALSE (listener.checkNow()) << "unchanged";

    // Two writes within the same second are both seen.
    std::filesystem::last_write_time (path, second + std::chrono::milliseconds (400));
    EXPECT_TRUE (listener.checkNow());

    ASSERT_TRUE (file.deleteFile());
    EXPECT_TRUE (listener.checkNow());
    EXPECT_EQ (listener.getLastSeenTime(), 0);
    EXPECT_EQ (counter.changes, 3);

    listener.removeChangeListener (&counter);
}

} // namespace brindlex

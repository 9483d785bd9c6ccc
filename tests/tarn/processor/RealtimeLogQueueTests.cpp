#include <tarn/processor/RealtimeLogQueue.h>
#include <tests/support/AllocationCounter.h>
#include <tests/tarn/CapturingLogger.h>

#include <gtest/gtest.h>

#include <thread>

using cadenzium::test::CapturingLogger;

TEST (RealtimeLogQueue, audioThreadTracesReachTheLogThroughTheMessageThreadWithoutAllocating)
{
    CapturingLogger logger;
    tarn::RealtimeLogQueue queue (10);
    std::size_t allocations = 1;

    std::thread audio ([&]
                       {
                           cadenzium::test::ScopedAllocationCounter counter;
                           queue.push ("Changing sequence number");
                           queue.push ("Pinging internal parameter: ", 0.004);
                           allocations = counter.count(); });
    audio.join();
    EXPECT_EQ (allocations, 0u);
    EXPECT_TRUE (logger.lines.isEmpty()) << "nothing is written before the message thread drains";

    for (int i = 0; i < 100 && logger.lines.size() < 2; ++i)
        juce::MessageManager::getInstance()->runDispatchLoopUntil (10);

    EXPECT_EQ (logger.lines, juce::StringArray ({ "Changing sequence number", "Pinging internal parameter: 0.004" }));
}

TEST (RealtimeLogQueue, aFullQueueDropsAndReportsInsteadOfBlocking)
{
    CapturingLogger logger;
    tarn::RealtimeLogQueue queue (0);
    int accepted = 0;

    for (int i = 0; i < tarn::RealtimeLogQueue::capacity + 10; ++i)
        accepted += queue.push (juce::String (i).toRawUTF8()) ? 1 : 0;

    EXPECT_LT (accepted, tarn::RealtimeLogQueue::capacity + 10);
    const juce::String longText = juce::String::repeatedString ("x", 500);
    queue.drain();
    queue.push (longText.toRawUTF8());
    queue.drain();
    EXPECT_EQ (logger.lines.size(), accepted + 2);
    EXPECT_TRUE (logger.lines[accepted].contains ("dropped"));
    EXPECT_EQ (logger.lines[accepted + 1].length(), tarn::RealtimeLogQueue::maxTextLength);
}

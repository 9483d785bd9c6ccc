#include <tarn/toasts/ToastManager.h>
#include <tests/tarn/CapturingLogger.h>

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <thread>

using tarn::Toast;
using tarn::ToastManager;

using cadenzium::test::CapturingLogger;

namespace
{
struct RecordingListener : ToastManager::Listener
{
    void toastsChanged (ToastManager&) override
    {
        ++calls;
        allOnMessageThread = allOnMessageThread && juce::MessageManager::getInstance()->isThisTheMessageThread();
    }

    int calls = 0;
    bool allOnMessageThread = true;
};
} // namespace

TEST (ToastManager, toastsFromHostThreadsAllArriveInOrderAndListenersHearOnTheMessageThread)
{
    CapturingLogger log;
    ToastManager toasts;
    RecordingListener listener;
    toasts.addListener (&listener);
    constexpr int threads = 4, perThread = ToastManager::maxHeldToasts / threads;
    std::vector<std::thread> senders;

    for (int t = 0; t < threads; ++t)
        senders.emplace_back ([&toasts, t]
                              {
                                  for (int i = 0; i < perThread; ++i)
                                      toasts.addToast (juce::String (t) + ":" + juce::String (i), i % 2 == 0 ? Toast::error : Toast::information); });

    for (auto& s : senders)
        s.join();

    const auto held = toasts.getToasts();
    ASSERT_EQ ((int) held.size(), threads * perThread);

    // Each thread's toasts keep their own order; the ids are all different.
    std::array<int, threads> next {};
    std::set<juce::uint32> ids;

    for (const auto& toast : held)
    {
        const auto body = toast.text.startsWith ("ERROR: ") ? toast.text.substring (7) : toast.text;
        const auto thread = body.upToFirstOccurrenceOf (":", false, false).getIntValue();
        const auto index = body.fromFirstOccurrenceOf (":", false, false).getIntValue();
        EXPECT_EQ (index, next[(size_t) thread]++) << toast.text;
        EXPECT_EQ (toast.isError(), index % 2 == 0) << toast.text;
        ids.insert (toast.id);
    }

    EXPECT_EQ ((int) ids.size(), threads * perThread);
    EXPECT_EQ (log.lines.size(), threads * perThread / 2);
    EXPECT_EQ (listener.calls, 0); // nothing is called on the senders' threads
    juce::MessageManager::getInstance()->runDispatchLoopUntil (50);
    EXPECT_GE (listener.calls, 1);
    EXPECT_TRUE (listener.allOnMessageThread);
    toasts.removeListener (&listener);
}

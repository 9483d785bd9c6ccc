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

juce::StringArray textsOf (const std::vector<Toast>& toasts)
{
    juce::StringArray texts;

    for (const auto& t : toasts)
        texts.add (t.text);

    return texts;
}
} // namespace

TEST (ToastManager, toastsKeepTheirOrderAndKindOnlyErrorsAreLoggedWithThePrefixAndOnlyTheNewestAreKept)
{
    CapturingLogger log;
    ToastManager toasts;
    const auto first = toasts.addToast ("Couldn't save preset!", Toast::error);
    toasts.addToast ("Preset saved", Toast::information);
    toasts.addToast ("Invalid preset", Toast::error);
    const auto held = toasts.getToasts();
    ASSERT_EQ (held.size(), 3u);
    EXPECT_EQ (textsOf (held), juce::StringArray ({ "ERROR: Couldn't save preset!", "Preset saved", "ERROR: Invalid preset" }));
    EXPECT_TRUE (held[0].isError() && ! held[1].isError() && held[0].id == first);
    EXPECT_EQ (log.lines, juce::StringArray ({ "ERROR: Couldn't save preset!", "ERROR: Invalid preset" }));

    // The editor removes a toast when it has finished showing, or takes them all.
    EXPECT_TRUE (toasts.removeToast (first));
    EXPECT_FALSE (toasts.removeToast (first));
    EXPECT_EQ (textsOf (toasts.takeToasts()), juce::StringArray ({ "Preset saved", "ERROR: Invalid preset" }));
    EXPECT_EQ (toasts.getNumToasts(), 0);

    // With nobody showing them, only the newest are kept.
    for (int i = 0; i < ToastManager::maxHeldToasts + 10; ++i)
        toasts.addToast ("Invalid preset index: " + juce::String (i), Toast::information);

    const auto newest = textsOf (toasts.getToasts());
    ASSERT_EQ (newest.size(), ToastManager::maxHeldToasts);
    EXPECT_EQ (newest[0], "Invalid preset index: 10");
    EXPECT_EQ (newest[newest.size() - 1], "Invalid preset index: " + juce::String (ToastManager::maxHeldToasts + 9));
}

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

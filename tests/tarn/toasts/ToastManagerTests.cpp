#include <tarn/toasts/ToastManager.h>
#include <tests/tarn/CapturingLogger.h>

#include <gtest/gtest.h>

using tarn::Toast;
using tarn::ToastManager;

using cadenzium::test::CapturingLogger;

namespace
{
juce::StringArray textsOf (const std::vector<Toast>& toasts)
{
    juce::StringArray texts;

    for (const auto& t : toasts)
        texts.add (t.text);

    return texts;
}
} // namespace

TEST (ToastManager, onlyErrorsAreLoggedWithThePrefixOnlyTheNewestAreKeptAndARepeatCountsOnItsToast)
{
    CapturingLogger log;
    ToastManager toasts;
    const auto first = toasts.addToast ("Couldn't save preset!", Toast::error);
    toasts.addToast ("Preset saved", Toast::information);
    toasts.addToast ("Invalid preset", Toast::error);
    EXPECT_EQ (textsOf (toasts.getToasts()), juce::StringArray ({ "ERROR: Couldn't save preset!", "Preset saved", "ERROR: Invalid preset" }));
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

    // The same message again while held becomes the newest and counts its repeats.
    toasts.takeToasts();
    log.lines.clear();
    const auto saved = toasts.addToast ("Preset saved", Toast::information);
    toasts.addToast ("Invalid preset", Toast::error);
    toasts.addToast ("Preset saved", Toast::error); // another kind: another message
    const auto again = toasts.addToast ("Preset saved", Toast::information);
    toasts.addToast ("Invalid preset", Toast::error);

    const auto held = toasts.getToasts();
    EXPECT_EQ (textsOf (held), juce::StringArray ({ "ERROR: Preset saved", "Preset saved", "ERROR: Invalid preset" }));
    ASSERT_EQ (held.size(), 3u);
    EXPECT_EQ (held[0].count, 1);
    EXPECT_EQ (held[1].count, 2);
    EXPECT_EQ (held[1].id, again);
    EXPECT_EQ (held[2].count, 2);
    EXPECT_FALSE (toasts.removeToast (saved)) << "the first of the repeats has gone";

    // Every error is still logged each time it comes.
    EXPECT_EQ (log.lines, juce::StringArray ({ "ERROR: Invalid preset", "ERROR: Preset saved", "ERROR: Invalid preset" }));
}

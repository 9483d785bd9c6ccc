#include "ShutdownWatchdog.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

#include <optional>

int main (int argc, char** argv)
{
    // Before anything resolves a per-user folder.
    cadenzium::test::useTemporaryHome();

    std::optional<cadenzium::test::ShutdownWatchdog> watchdog;
    int result = 0;

    {
        juce::ScopedJuceInitialiser_GUI juceInitialiser;
        ::testing::InitGoogleTest (&argc, argv);
        result = RUN_ALL_TESTS();
        watchdog.emplace();
    }

    return result;
}

#include "TestDisplay.h"
#include "XvfbServer.h"

#include <tests/support/ShutdownWatchdog.h>
#include <tests/support/TemporaryFolder.h>

#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

#include <iostream>
#include <optional>

/** The main of every editor test executable: a private X server and the test's own X
    connection first, then the framework (which opens the display when it first needs it). */
int main (int argc, char** argv)
{
    cadenzium::test::useTemporaryHome();

    ::testing::InitGoogleTest (&argc, argv);

    // Listing the tests (CTest does it to find them) needs no display.
    if (::testing::GTEST_FLAG (list_tests))
        return RUN_ALL_TESTS();

    // Declared first, so that it also guards closing the server.
    std::optional<cadenzium::test::ShutdownWatchdog> watchdog;
    cadenzium::test::XvfbServer server;

    if (! server.isRunning())
    {
        std::cerr << "editor tests: " << server.getError() << "\n";
        return 1;
    }

    cadenzium::test::TestDisplay display;

    if (! display.isOpen())
    {
        std::cerr << "editor tests: cannot open the X display " << server.getDisplayName() << "\n";
        return 1;
    }

    int result = 0;
    {
        juce::ScopedJuceInitialiser_GUI juceInitialiser;
        result = RUN_ALL_TESTS();
        watchdog.emplace();
    }

    return result;
}

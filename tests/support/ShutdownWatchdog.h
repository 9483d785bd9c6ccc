#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

namespace cadenzium::test
{

/** Guards what a test process does after its tests have run (the framework's shutdown,
    closing its X server). If that has not finished within the time, it prints the stack of
    every thread to stderr and ends the process with a failure: a hang at shutdown is a
    fault to look at, and waiting for the test runner's time limit shows nothing of it. */
class ShutdownWatchdog
{
public:
    explicit ShutdownWatchdog (int seconds = 60);
    ~ShutdownWatchdog();

    ShutdownWatchdog (const ShutdownWatchdog&) = delete;
    ShutdownWatchdog& operator= (const ShutdownWatchdog&) = delete;

private:
    std::mutex lock;
    std::condition_variable finished;
    bool done = false;
    std::thread watcher;
};

} // namespace cadenzium::test

#include "ShutdownWatchdog.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace cadenzium::test
{
namespace
{
    /** Every thread's stack, through gdb when it is installed, onto stderr. */
    void printStacks()
    {
        const auto target = std::to_string (getpid());

        // The debugger is a child of this process: allowed to attach under Yama's default.
        prctl (PR_SET_PTRACER, PR_SET_PTRACER_ANY, 0, 0, 0);

        const auto child = fork();

        if (child == 0)
        {
            dup2 (STDERR_FILENO, STDOUT_FILENO);
            execlp ("timeout", "timeout", "60", "gdb", "-p", target.c_str(), "-batch", "-nx",
                    "-ex", "thread apply all bt", static_cast<char*> (nullptr));
            _exit (127);
        }

        if (child > 0)
            waitpid (child, nullptr, 0);
    }
} // namespace

ShutdownWatchdog::ShutdownWatchdog (int seconds)
    : watcher ([this, seconds]
               {
                   std::unique_lock<std::mutex> guard (lock);

                   if (finished.wait_for (guard, std::chrono::seconds (seconds), [this] { return done; }))
                       return;

                   std::fprintf (stderr, "\ntest process: shutting down after the tests took over %d s; the threads:\n", seconds);
                   std::fflush (stderr);
                   printStacks();
                   std::fflush (stderr);
                   _exit (3);
               })
{
}

ShutdownWatchdog::~ShutdownWatchdog()
{
    {
        const std::lock_guard<std::mutex> guard (lock);
        done = true;
    }

    finished.notify_one();
    watcher.join();
}

} // namespace cadenzium::test

#include "XvfbServer.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <tuple>
#include <utility>

namespace cadenzium::test
{

namespace
{
    /** Starts Xvfb on display `number`; returns its pid and the number it reports, or -1. */
    std::pair<pid_t, std::string> startOn (int number)
    {
        int fds[2] = { -1, -1 };

        if (pipe (fds) != 0)
            return { -1, {} };

        char display[16] = {};
        std::snprintf (display, sizeof (display), ":%d", number);
        const auto screen = std::to_string (XvfbServer::screenWidth) + "x" + std::to_string (XvfbServer::screenHeight) + "x24";
        const auto displayFd = std::to_string (fds[1]);
        const auto parent = getpid();
        const auto pid = fork();

        if (pid == 0)
        {
            // The server goes with the test process, however that ends.
            prctl (PR_SET_PDEATHSIG, SIGKILL);

            if (getppid() != parent)
                _exit (1);

            close (fds[0]);
            const int devNull = open ("/dev/null", O_RDWR);
            dup2 (devNull, STDIN_FILENO);
            dup2 (devNull, STDOUT_FILENO);
            dup2 (devNull, STDERR_FILENO);

            execlp ("Xvfb", "Xvfb", display, "-displayfd", displayFd.c_str(), "-screen", "0", screen.c_str(),
                    "-nolisten", "tcp", "-noreset", "-ac", static_cast<char*> (nullptr));
            _exit (127);
        }

        close (fds[1]);

        if (pid < 0)
        {
            close (fds[0]);
            return { -1, {} };
        }

        // Xvfb writes its display number once it accepts connections, and exits when the
        // number is taken.
        std::string reported;
        pollfd waitFor { fds[0], POLLIN, 0 };

        while (poll (&waitFor, 1, 15000) > 0)
        {
            char buffer[16] = {};
            const auto got = read (fds[0], buffer, sizeof (buffer) - 1);

            if (got <= 0)
                break;

            reported.append (buffer, (size_t) got);

            if (reported.find ('\n') != std::string::npos)
                break;
        }

        close (fds[0]);

        while (! reported.empty() && (reported.back() == '\n' || reported.back() == ' '))
            reported.pop_back();

        if (reported.empty())
        {
            kill (pid, SIGKILL);
            waitpid (pid, nullptr, 0);
            return { -1, {} };
        }

        return { pid, reported };
    }
} // namespace

XvfbServer::XvfbServer()
{
    // Far from :0, which a process with no DISPLAY falls back to: a plug-in loaded by a
    // headless test must never find one of these servers there.
    std::string number;

    for (int attempt = 0; attempt < 30 && pid <= 0; ++attempt)
        std::tie (pid, number) = startOn (400 + (int) (((unsigned) getpid() * 7919u + (unsigned) attempt * 104729u) % 20000u));

    if (pid <= 0)
    {
        error = "Xvfb did not start (is the xvfb package installed?)";
        return;
    }

    displayName = ":" + number;
    setenv ("DISPLAY", displayName.c_str(), 1);
}

XvfbServer::~XvfbServer()
{
    if (pid <= 0)
        return;

    // A server that does not end in a few seconds (a loaded machine, a client it still
    // waits for) must not keep the test process from reporting its result.
    kill (pid, SIGTERM);

    for (int waited = 0; waited < 300; ++waited)
    {
        if (waitpid (pid, nullptr, WNOHANG) != 0)
            return;

        usleep (10000);
    }

    kill (pid, SIGKILL);
    waitpid (pid, nullptr, 0);
}

} // namespace cadenzium::test

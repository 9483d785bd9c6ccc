#include "XvfbServer.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace cadenzium::test
{

XvfbServer::XvfbServer()
{
    int fds[2] = { -1, -1 };

    if (pipe (fds) != 0)
    {
        error = "pipe failed";
        return;
    }

    const auto screen = std::to_string (screenWidth) + "x" + std::to_string (screenHeight) + "x24";
    const auto displayFd = std::to_string (fds[1]);
    const auto parent = getpid();

    pid = fork();

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

        execlp ("Xvfb", "Xvfb", "-displayfd", displayFd.c_str(), "-screen", "0", screen.c_str(),
                "-nolisten", "tcp", "-noreset", "-ac", static_cast<char*> (nullptr));
        _exit (127);
    }

    close (fds[1]);

    if (pid < 0)
    {
        close (fds[0]);
        error = "fork failed";
        return;
    }

    // Xvfb writes its display number once it accepts connections.
    std::string number;
    pollfd waitFor { fds[0], POLLIN, 0 };

    while (poll (&waitFor, 1, 15000) > 0)
    {
        char buffer[16] = {};
        const auto got = read (fds[0], buffer, sizeof (buffer) - 1);

        if (got <= 0)
            break;

        number.append (buffer, (size_t) got);

        if (number.find ('\n') != std::string::npos)
            break;
    }

    close (fds[0]);

    while (! number.empty() && (number.back() == '\n' || number.back() == ' '))
        number.pop_back();

    if (number.empty())
    {
        error = "Xvfb did not start (is the xvfb package installed?)";
        kill (pid, SIGKILL);
        waitpid (pid, nullptr, 0);
        pid = -1;
        return;
    }

    displayName = ":" + number;
    setenv ("DISPLAY", displayName.c_str(), 1);
}

XvfbServer::~XvfbServer()
{
    if (pid > 0)
    {
        kill (pid, SIGTERM);
        waitpid (pid, nullptr, 0);
    }
}

} // namespace cadenzium::test

#include "UnprivilegedChild.h"

#include <sys/wait.h>
#include <unistd.h>

namespace cadenzium::test
{

bool runInUnprivilegedChild (const std::function<bool()>& body)
{
    const auto pid = fork();

    if (pid < 0)
        return false;

    if (pid == 0)
    {
        constexpr uid_t nobody = 65534;

        if (geteuid() == 0 && (setgid (nobody) != 0 || setuid (nobody) != 0))
            _exit (2);

        _exit (body() ? 0 : 1);
    }

    int status = 0;

    if (waitpid (pid, &status, 0) != pid)
        return false;

    return WIFEXITED (status) && WEXITSTATUS (status) == 0;
}

} // namespace cadenzium::test

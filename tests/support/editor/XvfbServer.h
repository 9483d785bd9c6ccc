#pragma once

#include <string>
#include <sys/types.h>

namespace cadenzium::test
{

/** A private X server (Xvfb) for one test process. It picks a free display number itself,
    so parallel test processes never meet, and dies with the process even when a test
    crashes. DISPLAY points at it while it runs. */
class XvfbServer
{
public:
    /** Big enough for the largest window at twice its size. */
    static constexpr int screenWidth = 4200, screenHeight = 3200;

    /** Starts it on a free display far from :0 and sets DISPLAY; check isRunning(). */
    XvfbServer();
    ~XvfbServer();

    XvfbServer (const XvfbServer&) = delete;
    XvfbServer& operator= (const XvfbServer&) = delete;

    bool isRunning() const noexcept { return pid > 0 && ! displayName.empty(); }

    /** ":N" */
    const std::string& getDisplayName() const noexcept { return displayName; }

    /** Why it did not start. */
    const std::string& getError() const noexcept { return error; }

private:
    pid_t pid = -1;
    std::string displayName, error;
};

} // namespace cadenzium::test

#pragma once

#include <functional>

namespace cadenzium::test
{

/** Runs the function in a forked child process. When the tests run as root (as CI does),
    the child first drops to the unprivileged user "nobody", so file permissions mean
    what they say. Returns the function's result, or false when the child failed. */
bool runInUnprivilegedChild (const std::function<bool()>& body);

} // namespace cadenzium::test

#include "TemporaryFolder.h"

#include <cstdlib>
#include <stdexcept>
#include <unistd.h>

namespace cadenzium::test
{

TemporaryFolder::TemporaryFolder (const std::string& prefix)
{
    auto pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();

    if (mkdtemp (pattern.data()) == nullptr)
        throw std::runtime_error ("cannot create a temporary folder");

    folder = pattern;
}

TemporaryFolder::~TemporaryFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all (folder, ignored);
}

std::filesystem::path useTemporaryHome()
{
    static TemporaryFolder home ("cadenzium-home");
    setenv ("HOME", home.string().c_str(), 1);
    unsetenv ("XDG_CONFIG_HOME");

    // Nor does a copy of the product installed on this machine (presets, manual) show up.
    setenv ("XDG_DATA_DIRS", (home.path() / "system-data").c_str(), 1);
    return home.path();
}

} // namespace cadenzium::test

#pragma once

#include <filesystem>
#include <string>

namespace cadenzium::test
{

/** A fresh folder under the system's temporary folder, removed with everything in it
    when the object goes. */
class TemporaryFolder
{
public:
    explicit TemporaryFolder (const std::string& prefix = "cadenzium-test");
    ~TemporaryFolder();

    TemporaryFolder (const TemporaryFolder&) = delete;
    TemporaryFolder& operator= (const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const noexcept { return folder; }
    std::string string() const { return folder.string(); }

private:
    std::filesystem::path folder;
};

/** Points HOME at a new temporary folder for the rest of the process, so nothing a test
    does reaches the real user's configuration. Returns the folder. */
std::filesystem::path useTemporaryHome();

} // namespace cadenzium::test

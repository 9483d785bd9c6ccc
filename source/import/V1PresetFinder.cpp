#include "V1PresetFinder.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace V1PresetFinder
{
namespace
{
    namespace fs = std::filesystem;

    constexpr const char* extension = ".bpre";

    fs::path toPath (const juce::File& file)
    {
        return fs::path (file.getFullPathName().toStdString());
    }

    juce::File toFile (const fs::path& path)
    {
        return juce::File (juce::String::fromUTF8 (path.c_str()));
    }

    /** Both paths canonical. */
    bool isInside (const fs::path& path, const fs::path& folder)
    {
        return std::mismatch (folder.begin(), folder.end(), path.begin(), path.end()).first == folder.end();
    }

    struct Walk
    {
        fs::path excluded; // canonical, or empty for none
        std::set<fs::path> visitedFolders; // canonical
        std::vector<std::pair<fs::path, juce::String>> pendingFolders;
        std::vector<Found> found;

        bool isExcluded (const fs::path& path) const
        {
            std::error_code error;
            const auto real = fs::canonical (path, error);
            return error || (! excluded.empty() && isInside (real, excluded));
        }

        void enterLater (const fs::path& folder, const juce::String& relativePath)
        {
            std::error_code error;
            const auto real = fs::canonical (folder, error);

            if (error || (! excluded.empty() && isInside (real, excluded)))
                return;

            // A link back up the tree leads to a folder seen before: the walk ends there.
            if (visitedFolders.insert (real).second)
                pendingFolders.emplace_back (folder, relativePath);
        }

        /** False once the list is full. */
        bool list (const fs::path& folder, const juce::String& relativePath)
        {
            std::error_code error;
            fs::directory_iterator entries (folder, fs::directory_options::skip_permission_denied, error);

            for (; ! error && entries != fs::directory_iterator(); entries.increment (error))
            {
                const auto& entry = *entries;
                const auto name = juce::String::fromUTF8 (entry.path().filename().c_str());
                const auto childPath = relativePath.isEmpty() ? name : relativePath + "/" + name;
                std::error_code typeError;

                if (entry.is_directory (typeError))
                {
                    enterLater (entry.path(), childPath);
                }
                else if (entry.is_regular_file (typeError) && name.endsWith (extension) && ! isExcluded (entry.path()))
                {
                    if ((int) found.size() >= maxFiles)
                        return false;

                    found.push_back ({ toFile (entry.path()), childPath });
                }
            }

            return true;
        }
    };
} // namespace

std::vector<Found> find (const juce::File& folder, const juce::File& excludedFolder, const std::function<bool()>& shouldStop)
{
    Walk walk;

    if (excludedFolder != juce::File())
    {
        std::error_code error;
        walk.excluded = fs::weakly_canonical (toPath (excludedFolder), error);

        if (error)
            walk.excluded.clear();
    }

    walk.enterLater (toPath (folder), {});

    while (! walk.pendingFolders.empty())
    {
        if (shouldStop != nullptr && shouldStop())
            break;

        const auto [next, relativePath] = walk.pendingFolders.back();
        walk.pendingFolders.pop_back();

        if (! walk.list (next, relativePath))
        {
            juce::Logger::writeToLog ("More than " + juce::String (maxFiles) + " presets below "
                                      + folder.getFullPathName() + ": the rest are not imported");
            break;
        }
    }

    std::sort (walk.found.begin(), walk.found.end(), [] (const Found& a, const Found& b)
               { return a.relativePath < b.relativePath; });
    return walk.found;
}
} // namespace V1PresetFinder

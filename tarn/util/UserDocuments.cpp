#include "UserDocuments.h"

#include "TextFiles.h"

namespace tarn::UserDocuments
{
namespace
{
    constexpr const char* key = "XDG_DOCUMENTS_DIR";

    juce::File home()
    {
        return juce::File::getSpecialLocation (juce::File::userHomeDirectory);
    }

    juce::File configFolder()
    {
        const auto configured = juce::SystemStats::getEnvironmentVariable ("XDG_CONFIG_HOME", {});

        if (juce::File::isAbsolutePath (configured))
            return juce::File (configured);

        return home().getChildFile (".config");
    }

    juce::File expandHome (juce::String path, const juce::File& homeFolder)
    {
        path = path.trim().unquoted();

        if (path.startsWith ("$HOME"))
            path = homeFolder.getFullPathName() + path.substring (5);

        return juce::File::isAbsolutePath (path) && ! path.startsWith ("~") ? juce::File (path) : juce::File();
    }
} // namespace

juce::File parseDirsLine (const juce::String& line, const juce::File& homeFolder)
{
    const auto trimmed = line.trim();

    if (trimmed.startsWith ("#") || trimmed.upToFirstOccurrenceOf ("=", false, false).trim() != key)
        return {};

    return expandHome (trimmed.fromFirstOccurrenceOf ("=", false, false), homeFolder);
}

juce::File getFolder()
{
    const auto homeFolder = home();

    if (const auto fromEnvironment = expandHome (juce::SystemStats::getEnvironmentVariable (key, {}), homeFolder);
        fromEnvironment.isDirectory())
        return fromEnvironment;

    // A small file of the desktop's; anything larger is not it.
    if (const auto text = TextFiles::load (configFolder().getChildFile ("user-dirs.dirs"), 64 * 1024))
    {
        juce::StringArray lines;
        lines.addLines (*text);

        for (const auto& line : lines)
            if (const auto named = parseDirsLine (line, homeFolder); named.isDirectory())
                return named;
    }

    if (const auto documents = homeFolder.getChildFile ("Documents"); documents.isDirectory())
        return documents;

    return homeFolder;
}

} // namespace tarn::UserDocuments

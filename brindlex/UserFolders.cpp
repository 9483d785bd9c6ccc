#include "UserFolders.h"

namespace brindlex::UserFolders
{

juce::File getConfigFolder()
{
    return juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory);
}

juce::File getProductFolder (const juce::String& productName)
{
    return getConfigFolder().getChildFile (makerName).getChildFile (productName);
}

juce::String getPackageName (const juce::String& productName)
{
    return productName.toLowerCase().removeCharacters (" \t");
}

juce::Array<juce::File> getSystemDataFolders()
{
    // Where the desktop keeps shared data: the folders XDG_DATA_DIRS lists, or its usual default.
    auto list = juce::SystemStats::getEnvironmentVariable ("XDG_DATA_DIRS", {});

    if (list.isEmpty())
        list = "/usr/local/share/:/usr/share/";

    juce::Array<juce::File> folders;

    // Relative entries are invalid there and ignored.
    for (const auto& entry : juce::StringArray::fromTokens (list, ":", {}))
        if (juce::File::isAbsolutePath (entry))
            folders.addIfNotAlreadyThere (juce::File (entry));

    return folders;
}

juce::Array<juce::File> getInstalledFiles (const juce::String& productName, const juce::String& relativePath)
{
    juce::Array<juce::File> files;

    for (const auto& folder : getSystemDataFolders())
        files.add (folder.getChildFile (getPackageName (productName)).getChildFile (relativePath));

    return files;
}

juce::File getChordProgressionFolder (const juce::String& productName)
{
    return getProductFolder (productName).getChildFile ("Chord Progressions");
}

juce::Array<juce::File> getInstalledDocuments (const juce::String& productName, const juce::String& fileName)
{
    juce::Array<juce::File> files;

    for (const auto& folder : getSystemDataFolders())
        files.add (folder.getChildFile ("doc").getChildFile (getPackageName (productName)).getChildFile (fileName));

    return files;
}

} // namespace brindlex::UserFolders

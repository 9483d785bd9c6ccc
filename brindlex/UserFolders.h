#pragma once

#include <juce_core/juce_core.h>

namespace brindlex
{

/** Where the maker's per-user files live, and the files a package installs for everyone. */
namespace UserFolders
{
    constexpr const char* makerName = "Brindlex";

    /** The user's configuration folder: XDG_CONFIG_HOME from ~/.config/user-dirs.dirs
        when it names an existing folder, else ~/.config. Follows $HOME. */
    juce::File getConfigFolder();

    /** <config>/Brindlex/<product>/ */
    juce::File getProductFolder (const juce::String& productName);

    /** <config>/Brindlex/<product>/Chord Progressions/: the example chord progressions a
        user install puts where the render chooser opens. */
    juce::File getChordProgressionFolder (const juce::String& productName);

    /** "Cadenzium 2" -> "cadenzium2": the name of the product's package and of its folders
        under the system's data folders. */
    juce::String getPackageName (const juce::String& productName);

    /** The folders a package installs shared files into, to be searched in this order:
        each folder of $XDG_DATA_DIRS (by default /usr/local/share, then /usr/share). */
    juce::Array<juce::File> getSystemDataFolders();

    /** <each system data folder>/<package>/<relativePath>, in search order. */
    juce::Array<juce::File> getInstalledFiles (const juce::String& productName, const juce::String& relativePath);

    /** <each system data folder>/doc/<package>/<fileName>, in search order. */
    juce::Array<juce::File> getInstalledDocuments (const juce::String& productName, const juce::String& fileName);
} // namespace UserFolders

} // namespace brindlex

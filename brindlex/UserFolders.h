#pragma once

#include <juce_core/juce_core.h>

namespace brindlex
{

/** Where the maker's per-user files live. */
namespace UserFolders
{
    constexpr const char* makerName = "Brindlex";

    /** The user's configuration folder: XDG_CONFIG_HOME from ~/.config/user-dirs.dirs
        when it names an existing folder, else ~/.config. Follows $HOME. */
    juce::File getConfigFolder();

    /** <config>/Brindlex/<product>/ */
    juce::File getProductFolder (const juce::String& productName);
} // namespace UserFolders

} // namespace brindlex

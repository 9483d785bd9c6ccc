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

} // namespace brindlex::UserFolders

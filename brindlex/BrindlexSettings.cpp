#include "BrindlexSettings.h"

namespace brindlex
{
namespace
{
    juce::PropertiesFile::Options makeOptions()
    {
        juce::PropertiesFile::Options options;
        options.storageFormat = juce::PropertiesFile::storeAsXML;
        options.millisecondsBeforeSaving = BrindlexSettings::saveDelayMs;
        options.commonToAllUsers = false;
        options.ignoreCaseOfKeyNames = false;
        return options;
    }
} // namespace

BrindlexSettings::BrindlexSettings (const juce::File& settingsFile)
    : properties (settingsFile, makeOptions())
{
}

juce::var BrindlexSettings::getValue (const juce::String& key, const juce::var& defaultValue) const
{
    if (! properties.containsKey (key))
        return defaultValue;

    return properties.getValue (key);
}

juce::String BrindlexSettings::getString (const juce::String& key, const juce::String& defaultValue) const
{
    return properties.getValue (key, defaultValue);
}

double BrindlexSettings::getDouble (const juce::String& key, double defaultValue) const
{
    return properties.getDoubleValue (key, defaultValue);
}

bool BrindlexSettings::isWriteProtected() const
{
    const auto file = properties.getFile();
    return file.exists() && ! file.hasWriteAccess();
}

void BrindlexSettings::setValue (const juce::String& key, const juce::var& value)
{
    properties.setValue (key, value);

    // The framework saves by replacing the file, which would override a file the user
    // made read-only: keep the change in memory only.
    if (isWriteProtected())
        properties.setNeedsToBeSaved (false);
}

bool BrindlexSettings::saveNow()
{
    const bool saved = ! isWriteProtected() && properties.save();

    if (! saved)
        for (const auto& line : describeSaveFailure (properties.getFile()))
            juce::Logger::writeToLog (line);

    return saved;
}

void BrindlexSettings::reload()
{
    properties.reload();
}

juce::StringArray BrindlexSettings::describeSaveFailure (const juce::File& settingsFile)
{
    juce::StringArray lines { "Unable to save the custom settings..." };

    if (! settingsFile.exists())
        lines.add ("   ...Settings file doesn't exist");
    else if (! settingsFile.hasWriteAccess())
        lines.add ("   ...Settings file has no write access");
    else
        lines.add ("   ...Settings file has write access");

    const auto parent = settingsFile.getParentDirectory();

    if (! parent.exists())
    {
        if (! parent.hasWriteAccess())
            lines.add ("   ...Parent folder doesn't exist, and cannot be created as we have no write access");
    }
    else if (parent.hasWriteAccess())
    {
        lines.add ("   ...Parent folder has write access");
    }
    else
    {
        lines.add ("   ...Parent folder has no write access");
    }

    return lines;
}

} // namespace brindlex

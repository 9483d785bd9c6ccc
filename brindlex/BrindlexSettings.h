#pragma once

#include <juce_data_structures/juce_data_structures.h>

namespace brindlex
{

/** The per-user settings file ("settings.settings"): GUI scale, themes, the preset
    author. Values the program does not know survive every save. Changes are saved
    3000 ms after the last one, or at once by saveNow(); a settings file the user made
    read-only is never overwritten, and the change stays in force in memory only.
    [message thread]
*/
class BrindlexSettings
{
public:
    static constexpr int saveDelayMs = 3000;

    explicit BrindlexSettings (const juce::File& settingsFile);

    juce::var getValue (const juce::String& key, const juce::var& defaultValue = {}) const;
    juce::String getString (const juce::String& key, const juce::String& defaultValue = {}) const;
    double getDouble (const juce::String& key, double defaultValue) const;

    void setValue (const juce::String& key, const juce::var& value);

    /** Writes the file now if anything changed. On failure the reasons go to the log. */
    bool saveNow();

    /** Re-reads the file (another instance may have written it). */
    void reload();

    juce::PropertiesFile& getPropertiesFile() noexcept { return properties; }
    juce::File getFile() const { return properties.getFile(); }

    /** The log lines that explain why a save of this file failed, in order. */
    static juce::StringArray describeSaveFailure (const juce::File& settingsFile);

private:
    bool isWriteProtected() const;

    juce::PropertiesFile properties;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BrindlexSettings)
};

} // namespace brindlex

#pragma once

#include <juce_core/juce_core.h>

#include <vector>

namespace cadenzium::test
{

/** One note Ardour recorded from the plug-in's output. */
struct RecordedNote
{
    int pitch = 0;
    int velocity = 0;
    int channel = 1;
    double startBeats = 0.0;
    double lengthBeats = 0.0;
};

/** Drives Ardour headless (its Lua session tool with the dummy backend) as a real test host:
    scan the built plug-in, make a session with it on a MIDI track, swap the plug-in's saved
    state, play a chord with the transport rolling and read back the notes recorded from the
    plug-in's output. Every run gets a fresh HOME so Ardour's own settings never interfere. */
class ArdourHarness
{
public:
    ArdourHarness (const juce::File& pluginBinary, const juce::File& scriptFolder, const juce::File& workFolder);

    static bool isAvailable();

    /** Copies and scans the plug-in; false with a reason in getLog() when Ardour cannot see it. */
    bool prepare();

    /** A new session with the plug-in inserted on "Source"; retried, since Ardour itself
        occasionally crashes while inserting a plug-in into a new session. */
    bool createSession();

    /** Replaces the plug-in's saved chunk in the session file. */
    bool setPluginChunk (const juce::MemoryBlock& chunk);

    /** The plug-in's saved chunk, as the session file holds it. */
    juce::MemoryBlock getPluginChunk() const;

    /** Loads the session, plays the chord for holdMs with the transport rolling, saves. */
    bool playChord (const std::vector<int>& pitches, int holdMs, std::vector<RecordedNote>& recorded);

    const juce::String& getLog() const noexcept { return log; }

private:
    bool runLua (const juce::String& script, const juce::StringPairArray& extraEnvironment, juce::String& output);
    juce::File getSessionFile() const;

    juce::File plugin, scripts, work, home, installedPlugin, sessionFolder;
    const juce::String sessionName { "cadenzium" };
    juce::String log;
};

} // namespace cadenzium::test

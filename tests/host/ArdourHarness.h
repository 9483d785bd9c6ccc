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

/** The plug-in formats Ardour loads. */
enum class PluginFormat
{
    vst2,
    vst3,
    lv2
};

/** The built plug-in of a format: the VST2 library, the VST3 bundle or the LV2 bundle. */
juce::File builtPlugin (PluginFormat format);
juce::String nameOf (PluginFormat format);

/** Drives Ardour headless (its Lua session tool with the dummy backend) as a real test host:
    install and scan the built plug-in where Ardour looks for its format, make a session with
    it on a MIDI track, swap the plug-in's saved state, play a chord with the transport rolling
    and read back the notes recorded from the plug-in's output. Every run gets a fresh HOME so
    Ardour's own settings never interfere.

    Ardour keeps each format's state its own way: a VST2 chunk in the session file, a VST3
    preset (".vstpreset" layout, the plug-in's state as its component chunk) in the session
    file, an LV2 state folder beside it. The harness reads and writes all three. */
class ArdourHarness
{
public:
    ArdourHarness (PluginFormat format, const juce::File& scriptFolder, const juce::File& workFolder);

    static bool isAvailable();

    /** Installs and scans the plug-in; false with a reason in getLog() when Ardour cannot see it. */
    bool prepare();

    /** A new session with the plug-in inserted on "Source"; retried, since Ardour itself
        occasionally crashes while inserting a plug-in into a new session. */
    bool createSession();

    /** Replaces the plug-in's saved state (the host container the plug-in writes). */
    bool setPluginState (const juce::MemoryBlock& state);

    /** The plug-in's saved state as the session holds it. */
    juce::MemoryBlock getPluginState() const;

    /** The VST3 plug-in's parameters as the session stores them: (parameter ID, value). */
    std::vector<std::pair<juce::uint32, double>> getVst3Parameters() const;

    /** Loads the session, plays the chord for holdMs with the transport rolling, saves;
        retried like createSession(). */
    bool playChord (const std::vector<int>& pitches, int holdMs, std::vector<RecordedNote>& recorded);

    /** As playChord(), and bypassAfterMs into the chord the host bypasses the plug-in as its
        bypass button does; `bypassedAtBeats` is where the transport was then. */
    bool playChordAndBypass (const std::vector<int>& pitches, int holdMs, int bypassAfterMs, std::vector<RecordedNote>& recorded, double& bypassedAtBeats);

    /** Where the transport was, in beats, when the last played chord was sent. */
    double getChordSentAtBeats() const noexcept { return chordSentAtBeats; }
    double getChordReleasedAtBeats() const noexcept { return chordReleasedAtBeats; }

    const juce::String& getLog() const noexcept { return log; }

private:
    bool runLua (const juce::String& script, const juce::StringPairArray& extraEnvironment, juce::String& output);
    bool play (const std::vector<int>& pitches, int holdMs, int bypassAfterMs, std::vector<RecordedNote>& recorded, juce::String& output);
    bool scan();
    juce::StringArray environment() const;
    juce::File getSessionFile() const;
    juce::File getLv2StateFile() const;

    PluginFormat format;
    juce::File scripts, work, home, installed, sessionFolder;
    juce::String pluginId;
    const juce::String sessionName { "cadenzium" };
    juce::String log;
    double chordSentAtBeats = 0.0;
    double chordReleasedAtBeats = 0.0;
};

} // namespace cadenzium::test

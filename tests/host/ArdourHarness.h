#pragma once

#include <juce_core/juce_core.h>

#include <optional>
#include <vector>

namespace cadenzium::test
{

/** One note Ardour recorded from the plug-in's output. */
struct RecordedNote
{
    int pitch = 0;
    double startBeats = 0.0, lengthBeats = 0.0;
};

/** What Ardour recorded while a chord was held, and where its transport was (in beats) as
    the chord was sent, as it was released and, when asked for, as the plug-in was bypassed. */
struct Take
{
    std::vector<RecordedNote> notes;
    double chordSentAt = 0.0, releasedAt = 0.0, bypassedAt = -1.0;
};

enum class PluginFormat
{
    vst2,
    vst3,
    lv2
};

const char* nameOf (PluginFormat format);

/** Drives Ardour headless (its Lua session tool with the dummy backend) as a real test host,
    with a HOME of its own so the user's settings never interfere. Ardour keeps each format's
    state its own way: a VST2 chunk in the session file, a VST3 preset (".vstpreset" layout,
    the plug-in's state as its component chunk) in the session file, an LV2 state folder
    beside it. The harness reads and writes all three. */
class ArdourHarness
{
public:
    ArdourHarness (PluginFormat format, const juce::File& workFolder);

    static bool isAvailable();

    /** Installs the built plug-in where Ardour looks for its format, has Ardour scan it and
        makes a session with it on the track "Source", its output recorded on "Recorder";
        false with the reason in getLog(). */
    bool createSession();

    /** Replaces or reads the plug-in's saved state (the host container the plug-in writes). */
    bool setPluginState (const juce::MemoryBlock& state);
    juce::MemoryBlock getPluginState() const;

    /** The IDs the session stores the VST3 plug-in's parameters under, in order. */
    std::vector<juce::uint32> getVst3ParameterIds() const;

    /** Loads the session, holds the chord for holdMs with the transport rolling and, when
        bypassAfterMs >= 0, bypasses the plug-in that far into the chord as the host's
        bypass button does; then saves. */
    std::optional<Take> playChord (const std::vector<int>& pitches, int holdMs, int bypassAfterMs = -1);

    const juce::String& getLog() const noexcept { return log; }

private:
    bool scan();
    bool runLua (const juce::String& script, const juce::StringArray& settings, juce::String& output);
    juce::StringArray environment() const;
    juce::File getSessionFile() const { return sessionFolder.getChildFile ("cadenzium.ardour"); }
    juce::File getLv2StateFile() const;

    PluginFormat format;
    juce::File home, sessionFolder, installed;
    juce::String pluginId, log;
};

} // namespace cadenzium::test

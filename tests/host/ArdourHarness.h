#pragma once

#include <juce_core/juce_core.h>

#include <map>
#include <optional>
#include <vector>

namespace cadenzium::test
{

/** One note Ardour recorded from the plug-in's output. */
struct RecordedNote
{
    int pitch = 0;
    double startBeats = 0.0, lengthBeats = 0.0;
    int velocity = 0;
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

struct ArdourFormat
{
    const char* name;
    const char* type; // Ardour's name of the format: in sessions, and in upper case in Lua
    const char* homeFolder;
    const char* built;
    const char* scanner; // none for LV2: Ardour reads the bundle's Turtle files
    const char* scanCache;
};

inline const ArdourFormat& facts (PluginFormat format)
{
    static const ArdourFormat all[] = {
        { "VST2", "lxvst", ".vst", CADENZIUM_VST_PATH, "ardour-vst-scanner", "*.v2i" },
        { "VST3", "vst3", ".vst3", CADENZIUM_VST3_BUNDLE, "ardour-vst3-scanner", "*.v3i" },
        { "LV2", "lv2", ".lv2", CADENZIUM_LV2_BUNDLE, nullptr, nullptr },
    };
    return all[(size_t) format];
}

inline const char* nameOf (PluginFormat format) { return facts (format).name; }

/** Drives Ardour headless (its Lua session tool with the dummy backend) as a real test host,
    with a HOME of its own so the user's settings never interfere. Ardour keeps each format's
    state its own way: a VST2 chunk in the session file, a VST3 preset (".vstpreset" layout,
    the plug-in's state as its component chunk) in the session file, an LV2 state folder
    beside it. The harness reads and writes all three. */
class ArdourHarness
{
public:
    ArdourHarness (PluginFormat pluginFormat, const juce::File& work)
        : format (pluginFormat), home (work.getChildFile ("home")), sessionFolder (work.getChildFile ("session"))
    {
        const juce::File built (facts (format).built);
        installed = home.getChildFile (facts (format).homeFolder).getChildFile (built.getFileName());

        // Ardour names a VST by its library, an LV2 plug-in by its URI.
        if (format == PluginFormat::vst3)
            pluginId = installed.getChildFile ("Contents/x86_64-linux/" + built.getFileNameWithoutExtension() + ".so").getFullPathName();
        else
            pluginId = format == PluginFormat::vst2 ? installed.getFullPathName() : juce::String (CADENZIUM_LV2_URI);
    }

    static bool isAvailable() { return libraries.getChildFile ("luasession").existsAsFile(); }

    /** Installs the built plug-in where Ardour looks for its format, has Ardour scan it and
        makes a session with it on the track "Source", its output recorded on "Recorder";
        false with the reason in getLog(). */
    bool createSession()
    {
        const juce::File built (facts (format).built);

        if (! installed.getParentDirectory().createDirectory() || ! (built.isDirectory() ? built.copyDirectoryTo (installed) : built.copyFileTo (installed)))
        {
            log << "cannot install " << built.getFullPathName();
            return false;
        }

        if (const auto* scanner = facts (format).scanner)
        {
            const auto cache = home.getChildFile (".cache/ardour7/vst");

            if (! run ({ "timeout", "60", libraries.getChildFile (scanner).getFullPathName(), "-q", "-f", installed.getFullPathName() }))
                return false;

            // Ardour only trusts a cache that is newer, in whole seconds, than the plug-in file.
            for (auto& f : cache.findChildFiles (juce::File::findFiles, false, facts (format).scanCache))
                f.setLastModificationTime (juce::File (pluginId).getLastModificationTime() + juce::RelativeTime::seconds (2.0));
        }

        // Ardour itself occasionally crashes while inserting a plug-in into a new session: retried.
        for (int attempt = 0; attempt < 3; ++attempt)
            if (sessionFolder.deleteRecursively() && runLua ("create_session.lua", {}) && getSessionFile().existsAsFile())
                return true;

        return false;
    }

    /** Installs a preset library as the factory presets of the plug-in in the host's home,
        where `make run` installs them. */
    bool installFactoryPresets (const juce::File& library) const
    {
        return library.copyDirectoryTo (home.getChildFile (".config/Brindlex/Cadenzium 2/Presets/Factory"));
    }

    /** Replaces the plug-in's saved state in the host's container. */
    bool setPluginState (const juce::MemoryBlock& state)
    {
        if (format == PluginFormat::lv2)
        {
            const auto file = getLv2StateFile();
            const auto turtle = file.loadFileAsString();
            const auto [start, end] = findLv2State (turtle);
            return end > start && file.replaceWithText (turtle.replaceSection (start, end - start, state.toBase64Encoding()), false, false, "\n");
        }

        auto session = juce::XmlDocument::parse (getSessionFile());
        auto* chunk = findChunk (session.get());

        if (chunk == nullptr)
            return false;

        const auto stored = format == PluginFormat::vst3 ? withVst3ComponentState (decode (chunk->getAllSubText()), state) : state;
        chunk->deleteAllTextElements();
        chunk->addTextElement (juce::Base64::toBase64 (stored.getData(), stored.getSize()));
        return ! stored.isEmpty() && session->writeTo (getSessionFile());
    }

    juce::MemoryBlock getPluginState() const
    {
        juce::MemoryBlock state;

        if (format == PluginFormat::lv2)
        {
            const auto turtle = getLv2StateFile().loadFileAsString();
            const auto [start, end] = findLv2State (turtle);
            state.fromBase64Encoding (turtle.substring (start, end));
            return state;
        }

        const auto session = juce::XmlDocument::parse (getSessionFile());

        if (auto* chunk = findChunk (session.get()))
            state = decode (chunk->getAllSubText());

        return format == PluginFormat::vst3 ? vst3ComponentState (state) : state;
    }

    /** The IDs the session stores the VST3 plug-in's parameters under, in order. */
    std::vector<juce::uint32> getVst3ParameterIds() const
    {
        std::vector<juce::uint32> ids;
        const auto session = juce::XmlDocument::parse (getSessionFile());

        if (auto* processor = findProcessor (session.get()); processor != nullptr && processor->getChildByName ("vst3") != nullptr)
            for (auto* port : processor->getChildByName ("vst3")->getChildWithTagNameIterator ("Port"))
                ids.push_back ((juce::uint32) port->getStringAttribute ("id").getLargeIntValue());

        return ids;
    }

    /** Loads the session, chooses the plug-in's preset of that name from the host's list
        when one is named, holds the chord for holdMs with the transport rolling and, when
        bypassAfterMs >= 0, bypasses the plug-in that far into the chord as the host's
        bypass button does; then saves. */
    std::optional<Take> playChord (const std::vector<int>& pitches, int holdMs, int bypassAfterMs = -1, const juce::String& preset = {})
    {
        juce::StringArray chord;
        for (auto p : pitches)
            chord.add (juce::String (p));

        const juce::StringArray settings { "CHORD=" + chord.joinIntoString (" "), "HOLD_MS=" + juce::String (holdMs), "BYPASS_AFTER_MS=" + juce::String (bypassAfterMs), "PRESET=" + preset };

        // Ardour itself now and then dies while loading a session with a plug-in: retried.
        bool played = false;
        for (int attempt = 0; attempt < 3 && ! played; ++attempt)
            played = runLua ("play_chord.lua", settings);

        if (! played)
            return std::nullopt;

        // At 48 kHz and Ardour's default 120 bpm; notes in "<beats>:<ticks>", 1920 ticks a beat.
        const auto beats = [] (const juce::String& text)
        { return text.upToFirstOccurrenceOf (":", false, false).getDoubleValue() + text.fromFirstOccurrenceOf (":", false, false).getDoubleValue() / 1920.0; };
        Take take;

        for (auto& line : juce::StringArray::fromLines (lastOutput))
        {
            const auto fields = juce::StringArray::fromTokens (line, " ", {});
            const auto atBeats = (double) fields[1].getLargeIntValue() / 24000.0;

            if (fields[0] == "NOTE")
                take.notes.push_back ({ fields[1].getIntValue(), beats (fields[4]), beats (fields[5]), fields[2].getIntValue() });
            else if (fields[0] == "CHORD")
                take.chordSentAt = atBeats;
            else if (fields[0] == "RELEASE")
                take.releasedAt = atBeats;
            else if (fields[0] == "BYPASSED")
                take.bypassedAt = atBeats;
        }

        return take;
    }

    /** Loads the session, sets the parameter labelled `label` to `value` through the host's
        control for it, and saves; returns the host's controls as it read them before, label
        -> value, or nothing when it failed. */
    std::optional<std::map<juce::String, double>> setParameter (const juce::String& label, double value)
    {
        if (! runLua ("set_parameter.lua", { "LABEL=" + label, "VALUE=" + juce::String (value) }))
            return std::nullopt;

        std::map<juce::String, double> controls;

        for (auto& line : juce::StringArray::fromLines (lastOutput))
            if (line.startsWith ("CONTROL "))
                controls[line.fromFirstOccurrenceOf (" ", false, false).upToLastOccurrenceOf ("=", false, false)] = line.fromLastOccurrenceOf ("=", false, false).getDoubleValue();

        return controls;
    }

    const juce::String& getLog() const noexcept { return log; }

private:
    inline static const juce::File libraries { "/usr/lib/ardour7" };

    /** Runs the command with Ardour's environment; whether it ended with status 0. */
    bool run (const juce::StringArray& command)
    {
        juce::StringArray line { "/usr/bin/env", "HOME=" + home.getFullPathName(), "LXVST_PATH=" + home.getChildFile (".vst").getFullPathName(),
                                 "LV2_PATH=" + home.getChildFile (".lv2").getFullPathName(), "LD_LIBRARY_PATH=/usr/lib/ardour7",
                                 "ARDOUR_DATA_PATH=/usr/share/ardour7", "ARDOUR_CONFIG_PATH=/etc/ardour7", "ARDOUR_DLL_PATH=/usr/lib/ardour7",
                                 "VAMP_PATH=/usr/lib/ardour7/vamp" };
        line.addArray (command);
        juce::ChildProcess process;
        const auto started = process.start (line);
        lastOutput = started ? process.readAllProcessOutput() : "cannot start " + line.joinIntoString (" ");
        log << "--- " << command.joinIntoString (" ") << "\n" << lastOutput << "\n";
        return started && process.waitForProcessToFinish (10000) && process.getExitCode() == 0;
    }

    bool runLua (const juce::String& script, const juce::StringArray& settings)
    {
        juce::StringArray command { "SESSION_DIR=" + sessionFolder.getFullPathName(), "SESSION_NAME=cadenzium",
                                    "PLUGIN_TYPE=" + juce::String (facts (format).type).toUpperCase(), "PLUGIN_ID=" + pluginId };
        command.addArray (settings);
        command.addArray ({ "timeout", "90", libraries.getChildFile ("luasession").getFullPathName(), juce::File (CADENZIUM_ARDOUR_SCRIPTS).getChildFile (script).getFullPathName() });
        return run (command) && lastOutput.contains ("\nOK") && ! lastOutput.contains ("FAIL");
    }

    juce::File getSessionFile() const { return sessionFolder.getChildFile ("cadenzium.ardour"); }

    juce::XmlElement* findProcessor (juce::XmlElement* element) const
    {
        if (element == nullptr || (element->hasTagName ("Processor") && element->getStringAttribute ("type") == facts (format).type))
            return element;

        for (auto* child : element->getChildIterator())
            if (auto* found = findProcessor (child))
                return found;
        return nullptr;
    }

    // VST2 and VST3 keep the state as <lxvst|vst3 ...><chunk>BASE64</chunk>.
    juce::XmlElement* findChunk (juce::XmlElement* session) const
    {
        auto* processor = findProcessor (session);
        auto* holder = processor != nullptr ? processor->getChildByName (facts (format).type) : nullptr;
        return holder != nullptr ? holder->getChildByName ("chunk") : nullptr;
    }

    static juce::MemoryBlock decode (const juce::String& base64)
    {
        juce::MemoryOutputStream decoded;
        juce::Base64::convertFromBase64 (decoded, base64.trim());
        return decoded.getMemoryBlock();
    }

    /** A VST3 preset as hosts store it (".vstpreset"): "VST3", version 1, the class ID as 32
        characters, the offset of the chunk list, the chunks, then "List", the number of chunks
        and each chunk's ID, offset and size. The plug-in's own state is the "Comp" chunk. */
    static constexpr juce::int64 vst3HeaderSize = 4 + 4 + 32 + 8;

    static juce::MemoryBlock vst3ComponentState (const juce::MemoryBlock& preset)
    {
        juce::MemoryInputStream in (preset, false);
        in.setPosition (vst3HeaderSize - 8);
        in.setPosition (in.readInt64() + 8);

        for (char id[4] {}; in.read (id, 4) == 4;)
        {
            const auto offset = in.readInt64();
            const auto size = in.readInt64();

            if (juce::String (id, 4) == "Comp" && offset >= 0 && size >= 0 && offset + size <= (juce::int64) preset.getSize())
                return juce::MemoryBlock (preset.begin() + offset, (size_t) size);
        }

        return {};
    }

    /** A preset of the same class holding only `state`. */
    static juce::MemoryBlock withVst3ComponentState (const juce::MemoryBlock& preset, const juce::MemoryBlock& state)
    {
        if (preset.getSize() < (size_t) vst3HeaderSize)
            return {};

        juce::MemoryOutputStream out;
        out.write (preset.getData(), (size_t) vst3HeaderSize - 8); // "VST3", version, class ID
        out.writeInt64 (vst3HeaderSize + (juce::int64) state.getSize());
        out << state << "List";
        out.writeInt (1);
        out << "Comp";
        out.writeInt64 (vst3HeaderSize);
        out.writeInt64 ((juce::int64) state.getSize());
        return out.getMemoryBlock();
    }

    juce::File getLv2StateFile() const
    {
        // <Processor id="N" ... type="lv2"><lv2 ... state-dir="stateM"/>: plugins/N/stateM/state.ttl
        const auto session = juce::XmlDocument::parse (getSessionFile());
        auto* processor = findProcessor (session.get());
        auto* lv2 = processor != nullptr ? processor->getChildByName ("lv2") : nullptr;
        return lv2 != nullptr ? sessionFolder.getChildFile ("plugins/" + processor->getStringAttribute ("id") + "/" + lv2->getStringAttribute ("state-dir") + "/state.ttl") : juce::File();
    }

    // JUCE's LV2 plug-ins keep their state as one string property "<plug-in URI>:StateString",
    // in the framework's base-64 form: where its quoted text starts and ends (both 0 if absent).
    static std::pair<int, int> findLv2State (const juce::String& turtle)
    {
        const auto property = turtle.indexOf (juce::String ("<") + CADENZIUM_LV2_URI + ":StateString>");
        const auto open = property >= 0 ? turtle.indexOfChar (property, '"') : -1;
        const auto close = open >= 0 ? turtle.indexOfChar (open + 1, '"') : -1;
        return close < 0 ? std::pair (0, 0) : std::pair (open + 1, close);
    }

    PluginFormat format;
    juce::File home, sessionFolder, installed;
    juce::String pluginId, log, lastOutput;
};

} // namespace cadenzium::test

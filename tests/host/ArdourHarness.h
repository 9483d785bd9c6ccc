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

/** Where Ardour is, how it names each format and the containers it keeps their states in. */
namespace ardour
{
    inline const juce::File ardourLibraries ("/usr/lib/ardour7");
    inline const juce::String lv2Uri (CADENZIUM_LV2_URI);

    // The sessions run at 48 kHz and Ardour's default 120 bpm.
    constexpr double samplesPerBeat = 24000.0;

    struct FormatFacts
    {
        const char* name;
        const char* type; // Ardour's name of the format: in sessions, and in upper case in Lua
        const char* homeFolder;
        const char* built;
        const char* scanner; // none for LV2: Ardour reads the bundle's Turtle files
        const char* scanCache;
    };

    inline const FormatFacts& facts (PluginFormat format)
    {
        static const FormatFacts all[] = {
            { "VST2", "lxvst", ".vst", CADENZIUM_VST_PATH, "ardour-vst-scanner", "*.v2i" },
            { "VST3", "vst3", ".vst3", CADENZIUM_VST3_BUNDLE, "ardour-vst3-scanner", "*.v3i" },
            { "LV2", "lv2", ".lv2", CADENZIUM_LV2_BUNDLE, nullptr, nullptr },
        };
        return all[(size_t) format];
    }

    /** Whether the command ended with status 0; `output` is what it printed. */
    inline bool run (const juce::StringArray& command, juce::String& output)
    {
        juce::ChildProcess process;

        if (! process.start (command))
        {
            output = "cannot start " + command.joinIntoString (" ");
            return false;
        }

        output = process.readAllProcessOutput();
        return process.waitForProcessToFinish (10000) && process.getExitCode() == 0;
    }

    inline double parseBeats (const juce::String& text)
    {
        // Ardour prints beats as "<beats>:<ticks>" with 1920 ticks per beat.
        return text.upToFirstOccurrenceOf (":", false, false).getDoubleValue()
               + text.fromFirstOccurrenceOf (":", false, false).getDoubleValue() / 1920.0;
    }

    inline juce::XmlElement* findProcessor (juce::XmlElement& element, PluginFormat format)
    {
        if (element.hasTagName ("Processor") && element.getStringAttribute ("type") == facts (format).type)
            return &element;

        for (auto* child : element.getChildIterator())
            if (auto* found = findProcessor (*child, format))
                return found;
        return nullptr;
    }

    // VST2 and VST3 keep the state as <lxvst|vst3 ...><chunk>BASE64</chunk>.
    inline juce::XmlElement* findChunk (juce::XmlElement& session, PluginFormat format)
    {
        if (auto* processor = findProcessor (session, format))
            if (auto* holder = processor->getChildByName (facts (format).type))
                return holder->getChildByName ("chunk");
        return nullptr;
    }

    inline juce::MemoryBlock decode (const juce::String& base64)
    {
        juce::MemoryOutputStream decoded;
        juce::Base64::convertFromBase64 (decoded, base64.trim());
        return decoded.getMemoryBlock();
    }

    /** A VST3 preset as hosts store it (".vstpreset"): "VST3", version 1, the class ID as 32
        characters, the offset of the chunk list, the chunks, then "List", the number of chunks
        and each chunk's ID, offset and size. The plug-in's own state is the "Comp" chunk. */
    constexpr juce::int64 vst3HeaderSize = 4 + 4 + 32 + 8;

    inline juce::MemoryBlock vst3ComponentState (const juce::MemoryBlock& preset)
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
    inline juce::MemoryBlock withVst3ComponentState (const juce::MemoryBlock& preset, const juce::MemoryBlock& state)
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

    // JUCE's LV2 plug-ins keep their state as one string property "<plug-in URI>:StateString",
    // in the framework's base-64 form; hosts write it into a Turtle file. Its quoted literal,
    // as [start of text, end of text).
    inline std::optional<std::pair<int, int>> findStateLiteral (const juce::String& turtle)
    {
        const auto property = turtle.indexOf ("<" + lv2Uri + ":StateString>");
        const auto open = property >= 0 ? turtle.indexOfChar (property, '"') : -1;
        const auto close = open >= 0 ? turtle.indexOfChar (open + 1, '"') : -1;

        if (close < 0)
            return std::nullopt;

        return std::pair (open + 1, close);
    }
} // namespace ardour

inline const char* nameOf (PluginFormat format)
{
    return ardour::facts (format).name;
}

/** Drives Ardour headless (its Lua session tool with the dummy backend) as a real test host,
    with a HOME of its own so the user's settings never interfere. Ardour keeps each format's
    state its own way: a VST2 chunk in the session file, a VST3 preset (".vstpreset" layout,
    the plug-in's state as its component chunk) in the session file, an LV2 state folder
    beside it. The harness reads and writes all three. */
class ArdourHarness
{
public:
    ArdourHarness (PluginFormat pluginFormat, const juce::File& work)
        : format (pluginFormat)
        , home (work.getChildFile ("home"))
        , sessionFolder (work.getChildFile ("session"))
    {
        const juce::File built (ardour::facts (format).built);
        installed = home.getChildFile (ardour::facts (format).homeFolder).getChildFile (built.getFileName());

        // Ardour names a VST by its library, an LV2 plug-in by its URI.
        if (format == PluginFormat::vst3)
            pluginId = installed.getChildFile ("Contents/x86_64-linux/" + built.getFileNameWithoutExtension() + ".so").getFullPathName();
        else
            pluginId = format == PluginFormat::vst2 ? installed.getFullPathName() : ardour::lv2Uri;
    }

    static bool isAvailable()
    {
        for (auto* tool : { "luasession", "ardour-vst-scanner", "ardour-vst3-scanner" })
            if (! ardour::ardourLibraries.getChildFile (tool).existsAsFile())
                return false;
        return true;
    }

    /** Installs the built plug-in where Ardour looks for its format, has Ardour scan it and
        makes a session with it on the track "Source", its output recorded on "Recorder";
        false with the reason in getLog(). */
    bool createSession()
    {
        const juce::File built (ardour::facts (format).built);

        if (! installed.getParentDirectory().createDirectory() || ! (built.isDirectory() ? built.copyDirectoryTo (installed) : built.copyFileTo (installed)))
        {
            log << "cannot install " << built.getFullPathName() << "\n";
            return false;
        }

        if (ardour::facts (format).scanner != nullptr && ! scan())
            return false;

        // Ardour itself occasionally crashes while inserting a plug-in into a new session: retried.
        for (int attempt = 0; attempt < 3; ++attempt)
        {
            sessionFolder.deleteRecursively();
            juce::String output;

            if (runLua ("create_session.lua", {}, output) && getSessionFile().existsAsFile())
                return true;
        }

        return false;
    }

    /** Replaces or reads the plug-in's saved state (the host container the plug-in writes). */
    bool setPluginState (const juce::MemoryBlock& state)
    {
        if (format == PluginFormat::lv2)
        {
            const auto file = getLv2StateFile();
            const auto turtle = file.loadFileAsString();
            const auto literal = ardour::findStateLiteral (turtle);
            return literal.has_value() && file.replaceWithText (turtle.replaceSection (literal->first, literal->second - literal->first, state.toBase64Encoding()), false, false, "\n");
        }

        auto session = juce::XmlDocument::parse (getSessionFile());
        auto* chunk = session != nullptr ? ardour::findChunk (*session, format) : nullptr;

        if (chunk == nullptr)
            return false;

        const auto stored = format == PluginFormat::vst3 ? ardour::withVst3ComponentState (ardour::decode (chunk->getAllSubText()), state) : state;

        if (stored.isEmpty())
            return false;

        chunk->deleteAllTextElements();
        chunk->addTextElement (juce::Base64::toBase64 (stored.getData(), stored.getSize()));
        return session->writeTo (getSessionFile());
    }

    juce::MemoryBlock getPluginState() const
    {
        if (format == PluginFormat::lv2)
        {
            const auto turtle = getLv2StateFile().loadFileAsString();
            const auto literal = ardour::findStateLiteral (turtle);
            juce::MemoryBlock block;

            if (literal.has_value())
                block.fromBase64Encoding (turtle.substring (literal->first, literal->second));

            return block;
        }

        if (auto session = juce::XmlDocument::parse (getSessionFile()))
            if (auto* chunk = ardour::findChunk (*session, format))
            {
                const auto stored = ardour::decode (chunk->getAllSubText());
                return format == PluginFormat::vst3 ? ardour::vst3ComponentState (stored) : stored;
            }

        return {};
    }

    /** The IDs the session stores the VST3 plug-in's parameters under, in order. */
    std::vector<juce::uint32> getVst3ParameterIds() const
    {
        std::vector<juce::uint32> ids;

        if (auto session = juce::XmlDocument::parse (getSessionFile()))
            if (auto* processor = ardour::findProcessor (*session, PluginFormat::vst3))
                if (auto* vst3 = processor->getChildByName ("vst3"))
                    for (auto* port : vst3->getChildWithTagNameIterator ("Port"))
                        ids.push_back ((juce::uint32) port->getStringAttribute ("id").getLargeIntValue());

        return ids;
    }

    /** Loads the session, holds the chord for holdMs with the transport rolling and, when
        bypassAfterMs >= 0, bypasses the plug-in that far into the chord as the host's
        bypass button does; then saves. */
    std::optional<Take> playChord (const std::vector<int>& pitches, int holdMs, int bypassAfterMs = -1)
    {
        juce::StringArray chord;
        for (auto p : pitches)
            chord.add (juce::String (p));

        const juce::StringArray settings { "CHORD=" + chord.joinIntoString (" "), "HOLD_MS=" + juce::String (holdMs), "BYPASS_AFTER_MS=" + juce::String (bypassAfterMs) };

        // Ardour itself now and then dies while loading a session with a plug-in: retried.
        juce::String output;
        bool played = false;

        for (int attempt = 0; attempt < 3 && ! played; ++attempt)
            played = runLua ("play_chord.lua", settings, output);

        if (! played)
            return std::nullopt;

        Take take;

        for (auto& line : juce::StringArray::fromLines (output))
        {
            const auto fields = juce::StringArray::fromTokens (line, " ", {});
            const auto atBeats = (double) fields[1].getLargeIntValue() / ardour::samplesPerBeat;

            if (fields[0] == "NOTE")
                take.notes.push_back ({ fields[1].getIntValue(), ardour::parseBeats (fields[4]), ardour::parseBeats (fields[5]) });
            else if (fields[0] == "CHORD")
                take.chordSentAt = atBeats;
            else if (fields[0] == "RELEASE")
                take.releasedAt = atBeats;
            else if (fields[0] == "BYPASSED")
                take.bypassedAt = atBeats;
        }

        return take;
    }

    const juce::String& getLog() const noexcept { return log; }

private:
    bool scan()
    {
        auto command = environment();
        command.addArray ({ "timeout", "60", ardour::ardourLibraries.getChildFile (ardour::facts (format).scanner).getFullPathName(), "-q", "-f", installed.getFullPathName() });
        juce::String output;
        const auto scanned = ardour::run (command, output);
        log << output;
        const auto cacheFiles = home.getChildFile (".cache/ardour7/vst").findChildFiles (juce::File::findFiles, false, ardour::facts (format).scanCache);

        if (! scanned || cacheFiles.isEmpty())
        {
            log << "scanning failed\n";
            return false;
        }

        // Ardour only trusts a cache that is newer, in whole seconds, than the plug-in file.
        for (auto& f : cacheFiles)
            f.setLastModificationTime (juce::File (pluginId).getLastModificationTime() + juce::RelativeTime::seconds (2.0));
        return true;
    }

    bool runLua (const juce::String& script, const juce::StringArray& settings, juce::String& output)
    {
        auto command = environment();
        command.addArray ({ "SESSION_DIR=" + sessionFolder.getFullPathName(),
                            "SESSION_NAME=cadenzium",
                            "PLUGIN_TYPE=" + juce::String (ardour::facts (format).type).toUpperCase(),
                            "PLUGIN_ID=" + pluginId });
        command.addArray (settings);
        command.addArray ({ "timeout", "90", ardour::ardourLibraries.getChildFile ("luasession").getFullPathName(), juce::File (CADENZIUM_ARDOUR_SCRIPTS).getChildFile (script).getFullPathName() });

        const auto ended = ardour::run (command, output);
        log << "--- " << script << "\n"
            << output << "\n";
        return ended && output.contains ("\nOK") && ! output.contains ("FAIL");
    }

    juce::StringArray environment() const
    {
        return { "/usr/bin/env",
                 "HOME=" + home.getFullPathName(),
                 "LXVST_PATH=" + home.getChildFile (".vst").getFullPathName(),
                 "LV2_PATH=" + home.getChildFile (".lv2").getFullPathName(),
                 "LD_LIBRARY_PATH=/usr/lib/ardour7",
                 "ARDOUR_DATA_PATH=/usr/share/ardour7",
                 "ARDOUR_CONFIG_PATH=/etc/ardour7",
                 "ARDOUR_DLL_PATH=/usr/lib/ardour7",
                 "VAMP_PATH=/usr/lib/ardour7/vamp" };
    }

    juce::File getSessionFile() const { return sessionFolder.getChildFile ("cadenzium.ardour"); }

    juce::File getLv2StateFile() const
    {
        // <Processor id="N" ... type="lv2"><lv2 ... state-dir="stateM"/>: plugins/N/stateM/state.ttl
        if (auto session = juce::XmlDocument::parse (getSessionFile()))
            if (auto* processor = ardour::findProcessor (*session, PluginFormat::lv2))
                if (auto* lv2 = processor->getChildByName ("lv2"))
                    return sessionFolder.getChildFile ("plugins/" + processor->getStringAttribute ("id") + "/" + lv2->getStringAttribute ("state-dir") + "/state.ttl");
        return {};
    }

    PluginFormat format;
    juce::File home, sessionFolder, installed;
    juce::String pluginId, log;
};

} // namespace cadenzium::test

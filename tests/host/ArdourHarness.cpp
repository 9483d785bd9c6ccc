#include "ArdourHarness.h"

namespace cadenzium::test
{
namespace
{
    const juce::File ardourLibraries ("/usr/lib/ardour7");
    const juce::String lv2Uri (CADENZIUM_LV2_URI);

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

    const FormatFacts& facts (PluginFormat format)
    {
        static const FormatFacts all[] = {
            { "VST2", "lxvst", ".vst", CADENZIUM_VST_PATH, "ardour-vst-scanner", "*.v2i" },
            { "VST3", "vst3", ".vst3", CADENZIUM_VST3_BUNDLE, "ardour-vst3-scanner", "*.v3i" },
            { "LV2", "lv2", ".lv2", CADENZIUM_LV2_BUNDLE, nullptr, nullptr },
        };
        return all[(size_t) format];
    }

    /** Whether the command ended with status 0; `output` is what it printed. */
    bool run (const juce::StringArray& command, juce::String& output)
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

    double parseBeats (const juce::String& text)
    {
        // Ardour prints beats as "<beats>:<ticks>" with 1920 ticks per beat.
        return text.upToFirstOccurrenceOf (":", false, false).getDoubleValue()
               + text.fromFirstOccurrenceOf (":", false, false).getDoubleValue() / 1920.0;
    }

    juce::XmlElement* findProcessor (juce::XmlElement& element, PluginFormat format)
    {
        if (element.hasTagName ("Processor") && element.getStringAttribute ("type") == facts (format).type)
            return &element;

        for (auto* child : element.getChildIterator())
            if (auto* found = findProcessor (*child, format))
                return found;
        return nullptr;
    }

    // VST2 and VST3 keep the state as <lxvst|vst3 ...><chunk>BASE64</chunk>.
    juce::XmlElement* findChunk (juce::XmlElement& session, PluginFormat format)
    {
        if (auto* processor = findProcessor (session, format))
            if (auto* holder = processor->getChildByName (facts (format).type))
                return holder->getChildByName ("chunk");
        return nullptr;
    }

    juce::MemoryBlock decode (const juce::String& base64)
    {
        juce::MemoryOutputStream decoded;
        juce::Base64::convertFromBase64 (decoded, base64.trim());
        return decoded.getMemoryBlock();
    }

    /** A VST3 preset as hosts store it (".vstpreset"): "VST3", version 1, the class ID as 32
        characters, the offset of the chunk list, the chunks, then "List", the number of chunks
        and each chunk's ID, offset and size. The plug-in's own state is the "Comp" chunk. */
    constexpr juce::int64 vst3HeaderSize = 4 + 4 + 32 + 8;

    juce::MemoryBlock vst3ComponentState (const juce::MemoryBlock& preset)
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
    juce::MemoryBlock withVst3ComponentState (const juce::MemoryBlock& preset, const juce::MemoryBlock& state)
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
    std::optional<std::pair<int, int>> findStateLiteral (const juce::String& turtle)
    {
        const auto property = turtle.indexOf ("<" + lv2Uri + ":StateString>");
        const auto open = property >= 0 ? turtle.indexOfChar (property, '"') : -1;
        const auto close = open >= 0 ? turtle.indexOfChar (open + 1, '"') : -1;

        if (close < 0)
            return std::nullopt;

        return std::pair (open + 1, close);
    }
} // namespace

const char* nameOf (PluginFormat format)
{
    return facts (format).name;
}

ArdourHarness::ArdourHarness (PluginFormat pluginFormat, const juce::File& work)
    : format (pluginFormat)
    , home (work.getChildFile ("home"))
    , sessionFolder (work.getChildFile ("session"))
{
    const juce::File built (facts (format).built);
    installed = home.getChildFile (facts (format).homeFolder).getChildFile (built.getFileName());

    // Ardour names a VST by its library, an LV2 plug-in by its URI.
    if (format == PluginFormat::vst3)
        pluginId = installed.getChildFile ("Contents/x86_64-linux/" + built.getFileNameWithoutExtension() + ".so").getFullPathName();
    else
        pluginId = format == PluginFormat::vst2 ? installed.getFullPathName() : lv2Uri;
}

bool ArdourHarness::isAvailable()
{
    for (auto* tool : { "luasession", "ardour-vst-scanner", "ardour-vst3-scanner" })
        if (! ardourLibraries.getChildFile (tool).existsAsFile())
            return false;
    return true;
}

juce::StringArray ArdourHarness::environment() const
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

bool ArdourHarness::createSession()
{
    const juce::File built (facts (format).built);

    if (! installed.getParentDirectory().createDirectory() || ! (built.isDirectory() ? built.copyDirectoryTo (installed) : built.copyFileTo (installed)))
    {
        log << "cannot install " << built.getFullPathName() << "\n";
        return false;
    }

    if (facts (format).scanner != nullptr && ! scan())
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

bool ArdourHarness::scan()
{
    auto command = environment();
    command.addArray ({ "timeout", "60", ardourLibraries.getChildFile (facts (format).scanner).getFullPathName(), "-q", "-f", installed.getFullPathName() });
    juce::String output;
    const auto scanned = run (command, output);
    log << output;
    const auto cacheFiles = home.getChildFile (".cache/ardour7/vst").findChildFiles (juce::File::findFiles, false, facts (format).scanCache);

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

bool ArdourHarness::runLua (const juce::String& script, const juce::StringArray& settings, juce::String& output)
{
    auto command = environment();
    command.addArray ({ "SESSION_DIR=" + sessionFolder.getFullPathName(),
                        "SESSION_NAME=cadenzium",
                        "PLUGIN_TYPE=" + juce::String (facts (format).type).toUpperCase(),
                        "PLUGIN_ID=" + pluginId });
    command.addArray (settings);
    command.addArray ({ "timeout", "90", ardourLibraries.getChildFile ("luasession").getFullPathName(), juce::File (CADENZIUM_ARDOUR_SCRIPTS).getChildFile (script).getFullPathName() });

    const auto ended = run (command, output);
    log << "--- " << script << "\n"
        << output << "\n";
    return ended && output.contains ("\nOK") && ! output.contains ("FAIL");
}

juce::File ArdourHarness::getLv2StateFile() const
{
    // <Processor id="N" ... type="lv2"><lv2 ... state-dir="stateM"/>: plugins/N/stateM/state.ttl
    if (auto session = juce::XmlDocument::parse (getSessionFile()))
        if (auto* processor = findProcessor (*session, PluginFormat::lv2))
            if (auto* lv2 = processor->getChildByName ("lv2"))
                return sessionFolder.getChildFile ("plugins/" + processor->getStringAttribute ("id") + "/" + lv2->getStringAttribute ("state-dir") + "/state.ttl");
    return {};
}

bool ArdourHarness::setPluginState (const juce::MemoryBlock& state)
{
    if (format == PluginFormat::lv2)
    {
        const auto file = getLv2StateFile();
        const auto turtle = file.loadFileAsString();
        const auto literal = findStateLiteral (turtle);
        return literal.has_value() && file.replaceWithText (turtle.replaceSection (literal->first, literal->second - literal->first, state.toBase64Encoding()), false, false, "\n");
    }

    auto session = juce::XmlDocument::parse (getSessionFile());
    auto* chunk = session != nullptr ? findChunk (*session, format) : nullptr;

    if (chunk == nullptr)
        return false;

    const auto stored = format == PluginFormat::vst3 ? withVst3ComponentState (decode (chunk->getAllSubText()), state) : state;

    if (stored.isEmpty())
        return false;

    chunk->deleteAllTextElements();
    chunk->addTextElement (juce::Base64::toBase64 (stored.getData(), stored.getSize()));
    return session->writeTo (getSessionFile());
}

juce::MemoryBlock ArdourHarness::getPluginState() const
{
    if (format == PluginFormat::lv2)
    {
        const auto turtle = getLv2StateFile().loadFileAsString();
        const auto literal = findStateLiteral (turtle);
        juce::MemoryBlock block;

        if (literal.has_value())
            block.fromBase64Encoding (turtle.substring (literal->first, literal->second));

        return block;
    }

    if (auto session = juce::XmlDocument::parse (getSessionFile()))
        if (auto* chunk = findChunk (*session, format))
        {
            const auto stored = decode (chunk->getAllSubText());
            return format == PluginFormat::vst3 ? vst3ComponentState (stored) : stored;
        }

    return {};
}

std::vector<juce::uint32> ArdourHarness::getVst3ParameterIds() const
{
    std::vector<juce::uint32> ids;

    if (auto session = juce::XmlDocument::parse (getSessionFile()))
        if (auto* processor = findProcessor (*session, PluginFormat::vst3))
            if (auto* vst3 = processor->getChildByName ("vst3"))
                for (auto* port : vst3->getChildWithTagNameIterator ("Port"))
                    ids.push_back ((juce::uint32) port->getStringAttribute ("id").getLargeIntValue());

    return ids;
}

std::optional<Take> ArdourHarness::playChord (const std::vector<int>& pitches, int holdMs, int bypassAfterMs)
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
        const auto atBeats = (double) fields[1].getLargeIntValue() / samplesPerBeat;

        if (fields[0] == "NOTE")
            take.notes.push_back ({ fields[1].getIntValue(), parseBeats (fields[4]), parseBeats (fields[5]) });
        else if (fields[0] == "CHORD")
            take.chordSentAt = atBeats;
        else if (fields[0] == "RELEASE")
            take.releasedAt = atBeats;
        else if (fields[0] == "BYPASSED")
            take.bypassedAt = atBeats;
    }

    return take;
}

} // namespace cadenzium::test

#include "ArdourHarness.h"

#include "HostStateFormats.h"

namespace cadenzium::test
{
namespace
{
    const juce::File luaSession ("/usr/lib/ardour7/luasession");
    const juce::File vstScanner ("/usr/lib/ardour7/ardour-vst-scanner");
    const juce::File vst3Scanner ("/usr/lib/ardour7/ardour-vst3-scanner");
    const juce::String lv2Uri (CADENZIUM_LV2_URI);

    // The sessions run at 48 kHz and Ardour's default 120 bpm.
    constexpr double samplesPerBeat = 24000.0;

    juce::String runProcess (const juce::StringArray& command, int timeoutMs, int& exitCode)
    {
        juce::ChildProcess process;
        exitCode = -1;

        if (! process.start (command, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr))
            return "cannot start " + command.joinIntoString (" ");

        const auto output = process.readAllProcessOutput();
        if (process.waitForProcessToFinish (timeoutMs))
            exitCode = (int) process.getExitCode();
        else
            process.kill();
        return output;
    }

    double parseBeats (const juce::String& text)
    {
        // Ardour prints beats as "<beats>:<ticks>" with 1920 ticks per beat.
        return text.upToFirstOccurrenceOf (":", false, false).getDoubleValue()
               + text.fromFirstOccurrenceOf (":", false, false).getDoubleValue() / 1920.0;
    }

    const char* processorType (PluginFormat format)
    {
        switch (format)
        {
            case PluginFormat::vst2:
                return "lxvst";
            case PluginFormat::vst3:
                return "vst3";
            case PluginFormat::lv2:
                return "lv2";
        }
        return "";
    }

    juce::XmlElement* findProcessor (juce::XmlElement& element, PluginFormat format)
    {
        if (element.hasTagName ("Processor") && element.getStringAttribute ("type") == processorType (format))
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
            if (auto* holder = processor->getChildByName (processorType (format)))
                return holder->getChildByName ("chunk");
        return nullptr;
    }

    juce::MemoryBlock decode (const juce::String& base64)
    {
        juce::MemoryBlock block;
        juce::MemoryOutputStream decoded (block, false);
        juce::Base64::convertFromBase64 (decoded, base64.trim());
        decoded.flush();
        return block;
    }
} // namespace

juce::File builtPlugin (PluginFormat format)
{
    switch (format)
    {
        case PluginFormat::vst2:
            return juce::File (CADENZIUM_VST_PATH);
        case PluginFormat::vst3:
            return juce::File (CADENZIUM_VST3_BUNDLE);
        case PluginFormat::lv2:
            return juce::File (CADENZIUM_LV2_BUNDLE);
    }
    return {};
}

juce::String nameOf (PluginFormat format)
{
    switch (format)
    {
        case PluginFormat::vst2:
            return "VST2";
        case PluginFormat::vst3:
            return "VST3";
        case PluginFormat::lv2:
            return "LV2";
    }
    return {};
}

ArdourHarness::ArdourHarness (PluginFormat pluginFormat, const juce::File& scriptFolder, const juce::File& workFolder)
    : format (pluginFormat)
    , scripts (scriptFolder)
    , work (workFolder)
{
    home = work.getChildFile ("home");
    sessionFolder = work.getChildFile ("session");

    // Where Ardour looks for each format in a user's home.
    const auto built = builtPlugin (format);
    const char* folder = format == PluginFormat::vst2 ? ".vst" : format == PluginFormat::vst3 ? ".vst3"
                                                                                              : ".lv2";
    installed = home.getChildFile (folder).getChildFile (built.getFileName());

    if (format == PluginFormat::vst2)
        pluginId = installed.getFullPathName();
    else if (format == PluginFormat::vst3)
        pluginId = installed.getChildFile ("Contents/x86_64-linux").getChildFile (built.getFileNameWithoutExtension() + ".so").getFullPathName();
    else
        pluginId = lv2Uri;
}

bool ArdourHarness::isAvailable()
{
    return luaSession.existsAsFile() && vstScanner.existsAsFile() && vst3Scanner.existsAsFile();
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

juce::File ArdourHarness::getSessionFile() const
{
    return sessionFolder.getChildFile (sessionName + ".ardour");
}

bool ArdourHarness::prepare()
{
    home.createDirectory();
    installed.getParentDirectory().createDirectory();
    const auto built = builtPlugin (format);

    if (! (built.isDirectory() ? built.copyDirectoryTo (installed) : built.copyFileTo (installed)))
    {
        log << "cannot install " << built.getFullPathName() << "\n";
        return false;
    }

    // LV2 needs no scan: Ardour reads the bundle's Turtle files.
    return format == PluginFormat::lv2 || scan();
}

bool ArdourHarness::scan()
{
    auto command = environment();
    const auto& scanner = format == PluginFormat::vst2 ? vstScanner : vst3Scanner;
    command.addArray ({ "timeout", "60", scanner.getFullPathName(), "-q", "-f", installed.getFullPathName() });

    int exitCode = 0;
    log << runProcess (command, 70000, exitCode);
    const auto cacheFiles = home.getChildFile (".cache/ardour7/vst").findChildFiles (juce::File::findFiles, false, format == PluginFormat::vst2 ? "*.v2i" : "*.v3i");

    if (exitCode != 0 || cacheFiles.isEmpty())
    {
        log << "scanning failed (exit " << exitCode << ")\n";
        return false;
    }

    // Ardour only trusts a cache that is newer, in whole seconds, than the plug-in file.
    for (auto& f : cacheFiles)
        f.setLastModificationTime (juce::File (pluginId).getLastModificationTime() + juce::RelativeTime::seconds (2.0));
    return true;
}

bool ArdourHarness::runLua (const juce::String& script, const juce::StringPairArray& extraEnvironment, juce::String& output)
{
    auto command = environment();
    command.addArray ({ "SESSION_DIR=" + sessionFolder.getFullPathName(),
                        "SESSION_NAME=" + sessionName,
                        juce::String ("PLUGIN_TYPE=") + (format == PluginFormat::vst2 ? "LXVST" : format == PluginFormat::vst3 ? "VST3"
                                                                                                                               : "LV2"),
                        "PLUGIN_ID=" + pluginId });
    for (auto& key : extraEnvironment.getAllKeys())
        command.add (key + "=" + extraEnvironment[key]);

    command.addArray ({ "timeout", "90", luaSession.getFullPathName(), scripts.getChildFile (script).getFullPathName() });

    int exitCode = 0;
    output = runProcess (command, 100000, exitCode);
    log << "--- " << script << " (exit " << exitCode << ")\n"
        << output << "\n";

    return exitCode == 0 && output.contains ("\nOK") && ! output.contains ("FAIL");
}

bool ArdourHarness::createSession()
{
    for (int attempt = 0; attempt < 3; ++attempt)
    {
        sessionFolder.deleteRecursively();
        juce::String output;

        if (runLua ("create_session.lua", {}, output) && getSessionFile().existsAsFile())
            return true;
    }

    return false;
}

juce::File ArdourHarness::getLv2StateFile() const
{
    // <Processor id="N" ... type="lv2"><lv2 ... state-dir="stateM"/>: plugins/N/stateM/state.ttl
    if (auto session = juce::XmlDocument::parse (getSessionFile()))
        if (auto* processor = findProcessor (*session, PluginFormat::lv2))
            if (auto* lv2 = processor->getChildByName ("lv2"))
                return sessionFolder.getChildFile ("plugins")
                    .getChildFile (processor->getStringAttribute ("id"))
                    .getChildFile (lv2->getStringAttribute ("state-dir"))
                    .getChildFile ("state.ttl");
    return {};
}

bool ArdourHarness::setPluginState (const juce::MemoryBlock& state)
{
    if (format == PluginFormat::lv2)
    {
        const auto file = getLv2StateFile();
        const auto turtle = Lv2StateFile::withState (file.loadFileAsString(), lv2Uri, state);
        return turtle.has_value() && file.replaceWithText (*turtle, false, false, "\n");
    }

    auto session = juce::XmlDocument::parse (getSessionFile());
    auto* chunk = session != nullptr ? findChunk (*session, format) : nullptr;

    if (chunk == nullptr)
        return false;

    auto stored = state;

    if (format == PluginFormat::vst3)
    {
        const auto preset = Vst3Preset::withComponentState (decode (chunk->getAllSubText()), state);

        if (! preset.has_value())
            return false;

        stored = *preset;
    }

    chunk->deleteAllTextElements();
    chunk->addTextElement (juce::Base64::toBase64 (stored.getData(), stored.getSize()));
    return session->writeTo (getSessionFile());
}

juce::MemoryBlock ArdourHarness::getPluginState() const
{
    if (format == PluginFormat::lv2)
        return Lv2StateFile::state (getLv2StateFile().loadFileAsString(), lv2Uri).value_or (juce::MemoryBlock());

    if (auto session = juce::XmlDocument::parse (getSessionFile()))
        if (auto* chunk = findChunk (*session, format))
        {
            const auto stored = decode (chunk->getAllSubText());
            return format == PluginFormat::vst3 ? Vst3Preset::componentState (stored).value_or (juce::MemoryBlock()) : stored;
        }

    return {};
}

std::vector<std::pair<juce::uint32, double>> ArdourHarness::getVst3Parameters() const
{
    std::vector<std::pair<juce::uint32, double>> parameters;

    if (auto session = juce::XmlDocument::parse (getSessionFile()))
        if (auto* processor = findProcessor (*session, PluginFormat::vst3))
            if (auto* vst3 = processor->getChildByName ("vst3"))
                for (auto* port : vst3->getChildWithTagNameIterator ("Port"))
                    parameters.emplace_back ((juce::uint32) port->getStringAttribute ("id").getLargeIntValue(), port->getDoubleAttribute ("value"));

    return parameters;
}

bool ArdourHarness::playChord (const std::vector<int>& pitches, int holdMs, std::vector<RecordedNote>& recorded)
{
    juce::String output;
    return play (pitches, holdMs, -1, recorded, output);
}

bool ArdourHarness::playChordAndBypass (const std::vector<int>& pitches, int holdMs, int bypassAfterMs, std::vector<RecordedNote>& recorded, double& bypassedAtBeats)
{
    juce::String output;

    if (! play (pitches, holdMs, bypassAfterMs, recorded, output))
        return false;

    const auto line = output.fromFirstOccurrenceOf ("BYPASSED ", false, false).upToFirstOccurrenceOf ("\n", false, false);
    bypassedAtBeats = (double) line.getLargeIntValue() / samplesPerBeat;
    return line.isNotEmpty();
}

bool ArdourHarness::play (const std::vector<int>& pitches, int holdMs, int bypassAfterMs, std::vector<RecordedNote>& recorded, juce::String& output)
{
    juce::StringArray chord;
    for (auto p : pitches)
        chord.add (juce::String (p));

    juce::StringPairArray extra;
    extra.set ("CHORD", chord.joinIntoString (" "));
    extra.set ("HOLD_MS", juce::String (holdMs));

    if (bypassAfterMs >= 0)
        extra.set ("BYPASS_AFTER_MS", juce::String (bypassAfterMs));

    // Ardour itself now and then dies while loading a session with a plug-in: retried.
    bool played = false;

    for (int attempt = 0; attempt < 3 && ! played; ++attempt)
        played = runLua ("play_chord.lua", extra, output);

    if (! played)
        return false;

    recorded.clear();

    for (auto& line : juce::StringArray::fromLines (output))
    {
        if (line.startsWith ("CHORD "))
            chordSentAtBeats = (double) line.fromFirstOccurrenceOf (" ", false, false).getLargeIntValue() / samplesPerBeat;

        if (line.startsWith ("RELEASE "))
            chordReleasedAtBeats = (double) line.fromFirstOccurrenceOf (" ", false, false).getLargeIntValue() / samplesPerBeat;

        if (! line.startsWith ("NOTE "))
            continue;

        const auto fields = juce::StringArray::fromTokens (line, " ", {});
        recorded.push_back ({ fields[1].getIntValue(), fields[2].getIntValue(), fields[3].getIntValue(), parseBeats (fields[4]), parseBeats (fields[5]) });
    }

    return true;
}

} // namespace cadenzium::test

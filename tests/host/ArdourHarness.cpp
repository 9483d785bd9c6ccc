#include "ArdourHarness.h"

namespace cadenzium::test
{
namespace
{
    const juce::File luaSession ("/usr/lib/ardour7/luasession");
    const juce::File vstScanner ("/usr/lib/ardour7/ardour-vst-scanner");

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

    juce::StringArray ardourEnvironment (const juce::File& home, const juce::File& pluginFolder)
    {
        return { "/usr/bin/env",
                 "HOME=" + home.getFullPathName(),
                 "LXVST_PATH=" + pluginFolder.getFullPathName(),
                 "LD_LIBRARY_PATH=/usr/lib/ardour7",
                 "ARDOUR_DATA_PATH=/usr/share/ardour7",
                 "ARDOUR_CONFIG_PATH=/etc/ardour7",
                 "ARDOUR_DLL_PATH=/usr/lib/ardour7",
                 "VAMP_PATH=/usr/lib/ardour7/vamp" };
    }

    double parseBeats (const juce::String& text)
    {
        // Ardour prints beats as "<beats>:<ticks>" with 1920 ticks per beat.
        return text.upToFirstOccurrenceOf (":", false, false).getDoubleValue()
               + text.fromFirstOccurrenceOf (":", false, false).getDoubleValue() / 1920.0;
    }

    // Ardour keeps a chunk-based VST2 state as <lxvst ...><chunk>BASE64</chunk></lxvst>.
    juce::XmlElement* findChunkElement (juce::XmlElement& element)
    {
        if (element.hasTagName ("lxvst"))
            if (auto* chunk = element.getChildByName ("chunk"))
                return chunk;

        for (auto* child : element.getChildIterator())
            if (auto* found = findChunkElement (*child))
                return found;
        return nullptr;
    }
} // namespace

ArdourHarness::ArdourHarness (const juce::File& pluginBinary, const juce::File& scriptFolder, const juce::File& workFolder)
    : plugin (pluginBinary)
    , scripts (scriptFolder)
    , work (workFolder)
{
    home = work.getChildFile ("home");
    installedPlugin = work.getChildFile ("plugins").getChildFile (plugin.getFileName());
    sessionFolder = work.getChildFile ("session");
}

bool ArdourHarness::isAvailable()
{
    return luaSession.existsAsFile() && vstScanner.existsAsFile();
}

juce::File ArdourHarness::getSessionFile() const
{
    return sessionFolder.getChildFile (sessionName + ".ardour");
}

bool ArdourHarness::prepare()
{
    home.createDirectory();
    installedPlugin.getParentDirectory().createDirectory();
    if (! plugin.copyFileTo (installedPlugin))
    {
        log << "cannot copy the plug-in\n";
        return false;
    }

    auto command = ardourEnvironment (home, installedPlugin.getParentDirectory());
    command.addArray ({ "timeout", "60", vstScanner.getFullPathName(), "-q", "-f", installedPlugin.getFullPathName() });

    int exitCode = 0;
    log << runProcess (command, 70000, exitCode);
    const auto cacheFiles = home.getChildFile (".cache/ardour7/vst").findChildFiles (juce::File::findFiles, false, "*.v2i");

    if (exitCode != 0 || cacheFiles.isEmpty())
    {
        log << "scanning failed (exit " << exitCode << ")\n";
        return false;
    }

    // Ardour only trusts a cache that is newer, in whole seconds, than the plug-in file.
    for (auto& f : cacheFiles)
        f.setLastModificationTime (installedPlugin.getLastModificationTime() + juce::RelativeTime::seconds (2.0));
    return true;
}

bool ArdourHarness::runLua (const juce::String& script, const juce::StringPairArray& extraEnvironment, juce::String& output)
{
    auto command = ardourEnvironment (home, installedPlugin.getParentDirectory());
    command.addArray ({ "SESSION_DIR=" + sessionFolder.getFullPathName(), "SESSION_NAME=" + sessionName, "PLUGIN_SO=" + installedPlugin.getFullPathName() });
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

bool ArdourHarness::setPluginChunk (const juce::MemoryBlock& chunk)
{
    auto session = juce::XmlDocument::parse (getSessionFile());
    auto* element = session != nullptr ? findChunkElement (*session) : nullptr;

    if (element == nullptr)
        return false;

    element->deleteAllTextElements();
    element->addTextElement (juce::Base64::toBase64 (chunk.getData(), chunk.getSize()));
    return session->writeTo (getSessionFile());
}

juce::MemoryBlock ArdourHarness::getPluginChunk() const
{
    juce::MemoryBlock chunk;

    if (auto session = juce::XmlDocument::parse (getSessionFile()))
        if (auto* element = findChunkElement (*session))
        {
            juce::MemoryOutputStream decoded (chunk, false);
            juce::Base64::convertFromBase64 (decoded, element->getAllSubText().trim());
        }

    return chunk;
}

bool ArdourHarness::playChord (const std::vector<int>& pitches, int holdMs, std::vector<RecordedNote>& recorded)
{
    juce::StringArray chord;
    for (auto p : pitches)
        chord.add (juce::String (p));

    juce::StringPairArray environment;
    environment.set ("CHORD", chord.joinIntoString (" "));
    environment.set ("HOLD_MS", juce::String (holdMs));

    juce::String output;

    if (! runLua ("play_chord.lua", environment, output))
        return false;

    recorded.clear();

    for (auto& line : juce::StringArray::fromLines (output))
    {
        if (! line.startsWith ("NOTE "))
            continue;

        const auto fields = juce::StringArray::fromTokens (line, " ", {});
        recorded.push_back ({ fields[1].getIntValue(), fields[2].getIntValue(), fields[3].getIntValue(), parseBeats (fields[4]), parseBeats (fields[5]) });
    }

    return true;
}

} // namespace cadenzium::test

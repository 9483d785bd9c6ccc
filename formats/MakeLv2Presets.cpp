// Gives the LV2 bundle the factory presets: each one's state as the plug-in has it after
// loading that preset as a program, named, described and banked as the library shows it.
// Runs after JUCE's helper has written the bundle's Turtle, in a home of its own that
// holds only the given factory library, so the bundle never depends on the builder's presets.
//
//     make_lv2_presets <bundle folder> <factory preset folder>

#include "Lv2PresetTurtle.h"

#include <source/processor/Cadenzium2AudioProcessor.h>

#include <juce_events/juce_events.h>

#include <iostream>

namespace
{
/** "Arpeggios/Rising Eighths.bpre" -> "Arpeggios": the folders between the root and the preset. */
juce::String bankOf (const tarn::PresetInfo& entry, const juce::File& factoryRoot)
{
    const auto folder = juce::File (entry.path).getParentDirectory();
    return entry.path.isEmpty() || folder == factoryRoot ? juce::String() : folder.getRelativePathFrom (factoryRoot);
}

int writePresets (const juce::File& bundle, const juce::File& library)
{
    Cadenzium2AudioProcessor processor;
    auto& presets = processor.getPresetManager();

    if (! library.copyDirectoryTo (presets.getFactoryRoot()))
    {
        std::cerr << "cannot copy " << library.getFullPathName() << std::endl;
        return 1;
    }

    presets.refresh();
    Lv2PresetTurtle turtle (JucePlugin_LV2URI);

    for (const auto& entry : *presets.getPresetList())
    {
        if (! entry.isFactory)
            continue;

        if (! presets.loadPreset (entry.index))
        {
            std::cerr << "cannot load the factory preset " << entry.name << std::endl;
            return 1;
        }

        juce::MemoryBlock state;
        processor.getStateInformation (state);
        turtle.add ({ entry.name, entry.description, bankOf (entry, presets.getFactoryRoot()), state.toBase64Encoding() });
    }

    const auto manifestFile = bundle.getChildFile ("manifest.ttl");
    const auto manifest = manifestFile.loadFileAsString();
    const auto folder = bundle.getChildFile ("presets");

    if (manifest.isEmpty() || ! folder.deleteRecursively() || ! folder.createDirectory())
    {
        std::cerr << "cannot update " << bundle.getFullPathName() << std::endl;
        return 1;
    }

    for (const auto& [path, text] : turtle.getPresetFiles())
        if (! bundle.getChildFile (path).replaceWithText (text, false, false, "\n"))
            return 1;

    const auto kept = manifest.substring (0, turtle.findPresetEntries (manifest)).trimEnd();
    return manifestFile.replaceWithText (kept + "\n\n" + turtle.getManifestEntries(), false, false, "\n") ? 0 : 1;
}
} // namespace

int main (int argc, char** argv)
{
    if (argc != 3)
    {
        std::cerr << "usage: make_lv2_presets <bundle folder> <factory preset folder>" << std::endl;
        return 2;
    }

    const auto cwd = juce::File::getCurrentWorkingDirectory();
    const auto bundle = cwd.getChildFile (argv[1]);
    const auto library = cwd.getChildFile (argv[2]);
    const auto home = juce::File::createTempFile ("lv2-presets-home");

    if (! home.createDirectory())
        return 1;

    // The processor keeps its settings, log and presets under the home folder.
    setenv ("HOME", home.getFullPathName().toRawUTF8(), 1);
    setenv ("XDG_CONFIG_HOME", home.getChildFile (".config").getFullPathName().toRawUTF8(), 1);

    int result = 1;
    {
        juce::ScopedJuceInitialiser_GUI juce;
        result = writePresets (bundle, library);
    }

    home.deleteRecursively();
    return result;
}

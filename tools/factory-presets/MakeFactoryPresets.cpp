// Writes the factory preset library from the code in FactoryLibrary.cpp, or installs the
// committed library for the current user.
//
//     make_factory_presets <output folder>
//     make_factory_presets --install <library folder>
//     make_factory_presets --install-chords <chord progressions folder>

#include "PresetBuilder.h"

#include <brindlex/BrindlexProcessor.h>
#include <brindlex/UserFolders.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/util/AtomicFile.h>

#include <juce_events/juce_events.h>

#include <iostream>

namespace
{
/** The lanes every phrase of the preset carries: each lane key drawn in any phrase, in the
    order first met. */
ControllerTypeList controllerTypesOf (const FactoryPresets::Preset& preset)
{
    ControllerTypeList types;

    for (const auto& [slot, phrase] : preset.phrases)
        for (const auto& lane : phrase.lanes)
        {
            const auto type = ControllerType::fromLane (lane);

            if (std::none_of (types.begin(), types.end(), [&type] (const ControllerType& t)
                              { return t.hasSameKeyAs (type); }))
                types.push_back (type);
        }

    return types;
}

juce::String buildPresetText (const FactoryPresets::Preset& preset)
{
    Cadenzium2AudioProcessor processor;
    auto& phrases = processor.getPhraseManager();

    phrases.setRows (preset.rows);
    const auto types = controllerTypesOf (preset);
    phrases.setControllerTypes (types);

    for (int slot = 0; slot < Cadenzium2AudioProcessor::numPhrases; ++slot)
    {
        const auto found = preset.phrases.find (slot);
        auto sequence = found != preset.phrases.end() ? found->second : tarn::Sequence();
        std::vector<tarn::ControllerLane> lanes;

        for (const auto& type : types)
        {
            auto lane = type.toLane();

            for (const auto& drawn : sequence.lanes)
                if (ControllerType::fromLane (drawn).hasSameKeyAs (type))
                    lane = drawn;

            lanes.push_back (lane);
        }

        sequence.lanes = lanes;
        sequence.normalise();
        phrases.setSequence (slot, sequence, nullptr);
    }

    for (const auto& [parameterId, value] : preset.parameters)
        processor.setRawParameterValueNotifyingHost (parameterId, value);

    if (preset.key.has_value())
        processor.setKeySignature (*preset.key);

    processor.setSwingGridChoice (preset.swingGrid);
    processor.requestPhrase (preset.playingPhrase);

    const auto element = processor.getPresetManager().createPresetElement (FactoryPresets::author, preset.description, preset.categories);
    return element != nullptr ? element->toString() : juce::String();
}

int writeLibrary (const juce::File& root)
{
    for (const auto& folder : FactoryPresets::folders())
    {
        const auto dir = root.getChildFile (folder.name);
        dir.createDirectory();

        if (! tarn::AtomicFile::replaceWithText (dir.getChildFile ("_description.txt"), folder.description))
            return 1;
    }

    for (const auto& preset : FactoryPresets::library())
    {
        const auto text = buildPresetText (preset);
        const auto file = root.getChildFile (preset.folder).getChildFile (juce::String (preset.name) + ".bpre");

        if (text.isEmpty() || ! tarn::AtomicFile::replaceWithText (file, text))
        {
            std::cerr << "cannot write " << file.getFullPathName() << std::endl;
            return 1;
        }

        std::cout << file.getFullPathName() << std::endl;
    }

    return 0;
}

/** Replaces the user's factory folder with the library; the user folder beside it is never
    touched. */
int install (const juce::File& library)
{
    const auto target = brindlex::BrindlexProcessor::getFactoryPresetFolder (Cadenzium2AudioProcessor::productName);
    const auto staging = target.getSiblingFile (".Factory-installing");

    staging.deleteRecursively();

    if (! library.isDirectory() || ! library.copyDirectoryTo (staging))
    {
        std::cerr << "cannot copy " << library.getFullPathName() << std::endl;
        return 1;
    }

    target.deleteRecursively();

    if (! staging.moveFileTo (target))
    {
        std::cerr << "cannot install into " << target.getFullPathName() << std::endl;
        return 1;
    }

    const auto count = target.findChildFiles (juce::File::findFiles, true, "*.bpre").size();
    std::cout << "Installed " << count << " factory presets into " << target.getFullPathName() << std::endl;
    return 0;
}
/** Puts the example chord progressions where the render chooser opens, replacing an older
    copy whole (the user's own progressions live elsewhere). */
int installChords (const juce::File& examples)
{
    const auto target = brindlex::UserFolders::getChordProgressionFolder (Cadenzium2AudioProcessor::productName);

    if (! examples.isDirectory() || ! target.deleteRecursively() || ! examples.copyDirectoryTo (target))
    {
        std::cerr << "cannot install the chord progressions into " << target.getFullPathName() << std::endl;
        return 1;
    }

    const auto count = target.findChildFiles (juce::File::findFiles, true, "*.mid").size();
    std::cout << "Installed " << count << " example chord progressions into " << target.getFullPathName() << std::endl;
    return 0;
}
} // namespace

int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    const auto cwd = juce::File::getCurrentWorkingDirectory();

    if (argc == 3 && juce::String (argv[1]) == "--install")
        return install (cwd.getChildFile (argv[2]));

    if (argc == 3 && juce::String (argv[1]) == "--install-chords")
        return installChords (cwd.getChildFile (argv[2]));

    if (argc == 2)
        return writeLibrary (cwd.getChildFile (argv[1]));

    std::cerr << "usage: make_factory_presets <output folder> | --install <library folder> | --install-chords <folder>" << std::endl;
    return 2;
}

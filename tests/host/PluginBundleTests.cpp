// The built bundles as hosts see them before loading anything: the files, the LV2 Turtle
// (checked with the LV2 project's own tools) and the VST3 module's entry points and factory.

#include "Lv2Triples.h"

#include <tests/tarn/presets/PresetTestFiles.h>

#include <pluginterfaces/base/ipluginbase.h>

#include <map>

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace
{
juce::String run (const juce::StringArray& command)
{
    juce::ChildProcess process;
    return process.start (command) ? process.readAllProcessOutput() : juce::String();
}

const juce::File lv2Bundle (CADENZIUM_LV2_BUNDLE);
const juce::File vst3Bundle (CADENZIUM_VST3_BUNDLE);
} // namespace

TEST (Lv2Bundle, passesTheLv2ValidatorWithoutAnError)
{
    if (! juce::File ("/usr/bin/lv2_validate").existsAsFile() || ! juce::File ("/usr/bin/sord_validate").existsAsFile())
        GTEST_SKIP() << "lv2_validate is not installed (scripts/setup installs lv2-dev and sordi)";

    juce::StringArray command { "/usr/bin/lv2_validate" };

    for (auto& file : lv2Bundle.findChildFiles (juce::File::findFiles, true, "*.ttl"))
        command.add (file.getFullPathName());

    ASSERT_GT (command.size(), 4) << "manifest, dsp and ui descriptions, and the presets";
    const auto output = run (command);
    EXPECT_TRUE (output.contains ("Found 0 errors")) << output;
}

// Ardour's LV2 scenarios play through the MIDI ports; what hosts read before that is here.
TEST (Lv2Bundle, listsThePluginUnderItsUriAndItsParametersUnderTheirIdentifiers)
{
    if (! juce::File ("/usr/bin/lv2info").existsAsFile())
        GTEST_SKIP() << "lv2info is not installed (scripts/setup installs lilv-utils)";

    const auto info = run ({ "/usr/bin/env", "LV2_PATH=" + lv2Bundle.getParentDirectory().getFullPathName(), "/usr/bin/lv2info", CADENZIUM_LV2_URI });
    EXPECT_TRUE (info.contains ("Name:              Cadenzium 2")) << info;
    EXPECT_TRUE (info.contains ("Author:            Brindlex")) << info;

    // Songs refer to parameters by "<URI>:<identifier>", the identifiers of every other format.
    const auto description = lv2Bundle.getChildFile ("dsp.ttl").loadFileAsString();

    for (const auto* id : { "enable", "swing_amount", "internal", "daw_transport_only", "g_note_density", "note_output_range_high", "m_velocity" })
        EXPECT_TRUE (description.contains (juce::String ("plug:") + id + "\n\ta lv2:Parameter")) << id;
}

namespace
{
/** The state tree without the parameter that only tells the host something changed. */
juce::ValueTree withoutPings (juce::ValueTree tree)
{
    tree.removeChild (tree.getChildWithProperty ("id", "internal"), nullptr);
    return tree;
}

using Lv2BundlePresets = cadenzium::test::PresetLibraryTest;
using cadenzium::test::Lv2Triples;
} // namespace

TEST_F (Lv2BundlePresets, listEveryFactoryPresetByNameUnderItsFolderAndEachRestoresTheStateItsProgramGives)
{
    if (! Lv2Triples::isAvailable())
        GTEST_SKIP() << "sordi is not installed (scripts/setup installs it)";

    // The programs of a plug-in with the factory library installed, as `make run` installs it.
    ASSERT_TRUE (juce::File (CADENZIUM_FACTORY_PRESETS).copyDirectoryTo (factory));
    Cadenzium2AudioProcessor programs;
    std::map<juce::String, tarn::PresetInfo> library;

    for (const auto& entry : *programs.getPresetManager().getPresetList())
        library[entry.name] = entry;

    ASSERT_EQ (library.size(), 30u) << "the Initial Patch and the 29 factory presets, each name once";

    const Lv2Triples manifest (lv2Bundle.getChildFile ("manifest.ttl"));
    const auto presets = manifest.subjectsWith (Lv2Triples::rdfType, Lv2Triples::psetPreset);
    EXPECT_EQ (presets.size(), (int) library.size());

    for (const auto& preset : presets)
    {
        const auto name = manifest.object (preset, Lv2Triples::rdfsLabel);
        ASSERT_EQ (library.count (name), 1u) << preset;
        const auto& entry = library[name];
        const auto folder = entry.path.isEmpty() ? juce::String() : juce::File (entry.path).getParentDirectory().getRelativePathFrom (factory);
        const auto bank = manifest.object (preset, Lv2Triples::psetBank);
        EXPECT_EQ (manifest.object (preset, Lv2Triples::lv2AppliesTo), CADENZIUM_LV2_URI);
        EXPECT_EQ (manifest.object (preset, Lv2Triples::rdfsComment), entry.description) << name;
        EXPECT_EQ (bank.isEmpty() ? juce::String() : manifest.object (bank, Lv2Triples::rdfsLabel), folder) << name;

        // Loaded, the preset's state is what its program gives.
        const Lv2Triples file (juce::URL (manifest.object (preset, Lv2Triples::rdfsSeeAlso)).getLocalFile());
        juce::MemoryBlock state;
        ASSERT_TRUE (state.fromBase64Encoding (file.object (file.object (preset, Lv2Triples::stateState), CADENZIUM_LV2_URI ":StateString"))) << name;
        Cadenzium2AudioProcessor fromLv2;
        cadenzium::test::restore (fromLv2, state);
        programs.setCurrentProgram (entry.index);
        const auto expected = withoutPings (cadenzium::test::treeOf (cadenzium::test::stateOf (programs)));
        const auto loaded = withoutPings (cadenzium::test::treeOf (cadenzium::test::stateOf (fromLv2)));
        EXPECT_TRUE (loaded.isEquivalentTo (expected)) << name << "\n" << loaded.toXmlString() << "\nexpected\n" << expected.toXmlString();
    }
}

TEST (Vst3Bundle, holdsOneModuleWithTheEntryPointsAndTheClassHostsLookFor)
{
    const auto modules = vst3Bundle.getChildFile ("Contents/x86_64-linux").findChildFiles (juce::File::findFiles, false);
    ASSERT_EQ (modules.size(), 1);
    EXPECT_EQ (modules[0].getFileName(), "Cadenzium2.so");

    auto* handle = dlopen (modules[0].getFullPathName().toRawUTF8(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE (handle, nullptr) << dlerror();

    const auto entry = reinterpret_cast<bool (*) (void*)> (dlsym (handle, "ModuleEntry"));
    const auto exit = reinterpret_cast<bool (*)()> (dlsym (handle, "ModuleExit"));
    const auto getFactory = reinterpret_cast<Steinberg::IPluginFactory* (*) ()> (dlsym (handle, "GetPluginFactory"));
    ASSERT_TRUE (entry != nullptr && exit != nullptr && getFactory != nullptr);

    // Nothing else of ours is visible to the host or to other plug-ins.
    EXPECT_EQ (dlsym (handle, "createPluginFilter"), nullptr);
    ASSERT_TRUE (entry (handle));
    auto* factory = getFactory();
    ASSERT_NE (factory, nullptr);

    Steinberg::PFactoryInfo factoryInfo {};
    ASSERT_EQ (factory->getFactoryInfo (&factoryInfo), Steinberg::kResultOk);
    EXPECT_STREQ (factoryInfo.vendor, "Brindlex");

    // The audio class's ID is what songs store to find the plug-in again: it never changes.
    juce::StringArray audioClasses;

    for (int i = 0; i < factory->countClasses(); ++i)
    {
        Steinberg::PClassInfo info {};
        ASSERT_EQ (factory->getClassInfo (i, &info), Steinberg::kResultOk);

        if (juce::String (info.category) == "Audio Module Class")
            audioClasses.add (juce::String (info.name) + " " + juce::String::toHexString (info.cid, sizeof (info.cid), 0).toUpperCase());
    }

    EXPECT_EQ (audioClasses, juce::StringArray ("Cadenzium 2 ABCDEF019182FAEB4272647843645A6D"));
    factory->release();
    EXPECT_TRUE (exit());
    dlclose (handle);
}

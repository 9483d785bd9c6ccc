// The built bundles as hosts see them before loading anything: the files, the LV2 Turtle
// (checked with the LV2 project's own tools) and the VST3 module's entry points and factory.

#include <juce_core/juce_core.h>

#include <pluginterfaces/base/ipluginbase.h>

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

    for (auto& file : lv2Bundle.findChildFiles (juce::File::findFiles, false, "*.ttl"))
        command.add (file.getFullPathName());

    ASSERT_EQ (command.size(), 4) << "manifest, dsp and ui descriptions";
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

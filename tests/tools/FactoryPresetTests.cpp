#include <brindlex/BrindlexProcessor.h>
#include <source/processor/ParameterIds.h>
#include <tests/source/processor/PluginHarness.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
juce::Array<juce::File> factoryPresetFiles()
{
    return juce::File (CADENZIUM_FACTORY_PRESETS).findChildFiles (juce::File::findFiles, true, "*.bpre");
}
} // namespace

// Every shipped preset must load, answer a held chord with notes, and leave nothing sounding
// once the chord is let go and the transport stops.
TEST (FactoryPresets, everyPresetLoadsPlaysAHeldChordAndEndsAllItsNotes)
{
    const auto files = factoryPresetFiles();
    ASSERT_GE (files.size(), 24);

    for (const auto& file : files)
    {
        SCOPED_TRACE (file.getFullPathName().toStdString());
        PluginHarness harness;
        auto& processor = harness.processor;
        ASSERT_TRUE (processor.getPresetManager().loadPresetFile (file));

        std::vector<Event> chord { on (48, 100, 0), on (55, 100, 0), on (60, 100, 0), on (64, 100, 0) };

        if (processor.getRawParameterValue (ParameterIds::keyswitchEnable) > 0.5f)
            chord.push_back (on (12 * (int) processor.getRawParameterValue (ParameterIds::keyswitchRange), 100, 0));

        auto output = harness.block (chord);

        for (const auto& e : harness.playUntilTick (4 * 3840))
            output.push_back (e);

        EXPECT_FALSE (PluginHarness::noteOns (output).empty());

        std::vector<Event> release;

        for (auto e : chord)
            release.push_back (off (e.data1, 0));

        harness.block (release);
        harness.blocks (20);
        harness.playHead.playing = false;
        harness.blocks (4);
        EXPECT_EQ (harness.counter.sounding(), 0);
    }
}

// The library as a musician browses it: every preset listed in a described folder, with its
// own description, author and categories.
TEST (FactoryPresets, everyPresetIsDescribedAndFiledInADescribedFolder)
{
    juce::StringArray folders;

    for (const auto& file : factoryPresetFiles())
    {
        SCOPED_TRACE (file.getFullPathName().toStdString());
        const auto xml = juce::parseXML (file);
        ASSERT_NE (xml, nullptr);
        EXPECT_TRUE (xml->hasTagName ("cadenzium2"));
        EXPECT_GT (xml->getStringAttribute ("description").length(), 20);
        EXPECT_TRUE (xml->getStringAttribute ("author").isNotEmpty());
        EXPECT_TRUE (xml->getStringAttribute ("categories").isNotEmpty());
        EXPECT_TRUE (file.getSiblingFile ("_description.txt").loadFileAsString().isNotEmpty());
        folders.addIfNotAlreadyThere (file.getParentDirectory().getFileName());
    }

    EXPECT_GE (folders.size(), 5);
}

// Installing (again) replaces the factory folder as a whole and never touches the user's.
TEST (FactoryPresets, installingTwiceKeepsTheUsersOwnPresets)
{
    const auto factory = brindlex::BrindlexProcessor::getFactoryPresetFolder (Cadenzium2AudioProcessor::productName);
    const auto user = brindlex::BrindlexProcessor::getUserPresetFolder (Cadenzium2AudioProcessor::productName);
    const auto mine = user.getChildFile ("Mine/My Groove.bpre");
    ASSERT_TRUE (mine.getParentDirectory().createDirectory());
    ASSERT_TRUE (mine.replaceWithText ("<cadenzium2/>"));

    const auto install = [&]
    {
        juce::ChildProcess tool;
        ASSERT_TRUE (tool.start (juce::StringArray { CADENZIUM_PRESET_TOOL, "--install", CADENZIUM_FACTORY_PRESETS }));
        tool.readAllProcessOutput();
        EXPECT_EQ (tool.getExitCode(), 0u);
    };

    install();
    ASSERT_TRUE (factory.getChildFile ("Arpeggios").isDirectory());
    factory.getChildFile ("Leftover.bpre").replaceWithText ("<cadenzium2/>");
    install();

    EXPECT_EQ (factory.findChildFiles (juce::File::findFiles, true, "*.bpre").size(), factoryPresetFiles().size());
    EXPECT_FALSE (factory.getChildFile ("Leftover.bpre").exists());
    EXPECT_EQ (mine.loadFileAsString(), "<cadenzium2/>");
}

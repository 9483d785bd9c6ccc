#pragma once

#include <brindlex/UserFolders.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tests/source/processor/state/StateTestSupport.h>

#include <gtest/gtest.h>

#include <optional>

namespace cadenzium::test
{

/** Writes a small preset file (creating its folders): an XML document whose root has
    the given tag and attributes, with one parameter child. */
inline juce::File writePresetFile (const juce::File& file, const juce::String& tag = "cadenzium2", const std::vector<std::pair<const char*, juce::String>>& attributes = {})
{
    juce::XmlElement root (tag);

    for (const auto& [name, value] : attributes)
        root.setAttribute (name, value);

    auto* param = root.createNewChildElement ("PARAM");
    param->setAttribute ("id", "swing_amount");
    param->setAttribute ("value", 0.0);
    file.getParentDirectory().createDirectory();
    file.replaceWithText (root.toString());
    return file;
}

inline juce::StringArray namesOf (const std::vector<tarn::PresetInfo>& presets)
{
    juce::StringArray names;

    for (const auto& entry : presets)
        names.add (entry.name);

    return names;
}

inline juce::StringArray toastTexts (brindlex::BrindlexProcessor& p)
{
    juce::StringArray texts;

    for (const auto& toast : p.getToastManager().getToasts())
        texts.add (toast.text);

    return texts;
}

/** The plug-in's own preset folders (under the test's private HOME), emptied around each
    test. An installed plug-in has a factory folder, so the Initial Patch is entry 0. */
class PresetLibraryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        presetsFolder.deleteRecursively();
        factory.createDirectory();
    }

    void TearDown() override { presetsFolder.deleteRecursively(); }

    /** A factory preset holding the processor's state with `swing` set. */
    void writeFactoryPreset (Cadenzium2AudioProcessor& p, const juce::String& relativePath, float swing)
    {
        const auto before = p.getRawParameterValue ("swing_amount");
        p.setRawParameterValueNotifyingHost ("swing_amount", swing);
        const auto element = p.getPresetManager().createPresetElement ("Brindlex", "", "Tools");
        p.setRawParameterValueNotifyingHost ("swing_amount", before);
        ASSERT_TRUE (factory.getChildFile (relativePath).replaceWithText (element->toString()));
    }

    const juce::File presetsFolder = brindlex::UserFolders::getProductFolder ("Cadenzium 2").getChildFile ("Presets");
    const juce::File factory = brindlex::BrindlexProcessor::getFactoryPresetFolder ("Cadenzium 2");
    const juce::File user = brindlex::BrindlexProcessor::getUserPresetFolder ("Cadenzium 2");
};

} // namespace cadenzium::test

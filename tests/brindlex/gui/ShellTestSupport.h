#pragma once

#include <brindlex/gui/BrindlexEditor.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tests/support/TemporaryFolder.h>
#include <tests/support/editor/ProductEditorTest.h>

#include <gtest/gtest.h>

namespace cadenzium::test
{

/** Pixels blended by the renderer may differ from the exact blend by a step. */
inline void expectColourNear (juce::Colour actual, juce::Colour expected, int tolerance = 2)
{
    const auto near = [tolerance] (int a, int b) { return std::abs (a - b) <= tolerance; };
    EXPECT_TRUE (near (actual.getRed(), expected.getRed()) && near (actual.getGreen(), expected.getGreen()) && near (actual.getBlue(), expected.getBlue()))
        << actual.toDisplayString (false) << " vs " << expected.toDisplayString (false);
}

/** A processor whose editor is the bare maker shell, recording its hooks. */
class ShellProcessor : public Cadenzium2AudioProcessor
{
public:
    class Editor : public brindlex::BrindlexEditor
    {
    public:
        explicit Editor (ShellProcessor& p)
            : brindlex::BrindlexEditor (p, { versionString, ParameterIds::enable })
        {
            setSize (1244, 935);
        }

        int settingsChanges = 0;

    protected:
        void settingsChanged (brindlex::BrindlexSettings&) override { ++settingsChanges; }
    };

    juce::AudioProcessorEditor* createEditor() override { return new Editor (*this); }
};

/** Fresh settings and preset folders for each test, and one factory folder of presets. */
class ShellTest : public ProductEditorTest
{
protected:
    void SetUp() override
    {
        ProductEditorTest::SetUp();
        const auto factory = brindlex::BrindlexProcessor::getFactoryPresetFolder ("Cadenzium 2");
        writeFactoryPreset (factory.getChildFile ("Arpeggios/Rising Eighths.bpre"), "Brindlex", "Up and up", "Arp,Bright");
        writeFactoryPreset (factory.getChildFile ("Arpeggios/Octave Spark.bpre"), "Brindlex", "", "Arp");
        writeFactoryPreset (factory.getChildFile ("Chord Rhythms/Offbeat Stabs.bpre"), "Brindlex", "", "Chords");
    }

    static void writeFactoryPreset (const juce::File& file, const juce::String& author, const juce::String& description,
                                    const juce::String& categories)
    {
        Cadenzium2AudioProcessor source;
        const auto element = source.getPresetManager().createPresetElement (author, description, categories);
        file.getParentDirectory().createDirectory();
        ASSERT_TRUE (file.replaceWithText (element->toString()));
    }

    /** The menu's items, submenus flattened as "Folder/Item", with their IDs. */
    static std::vector<std::pair<juce::String, int>> menuItems (const juce::PopupMenu& menu, const juce::String& prefix = {})
    {
        std::vector<std::pair<juce::String, int>> items;

        for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
        {
            const auto& item = it.getItem();

            if (item.subMenu != nullptr)
                for (const auto& inner : menuItems (*item.subMenu, prefix + item.text + "/"))
                    items.push_back (inner);
            else if (! item.isSectionHeader && item.itemID != 0)
                items.emplace_back (prefix + item.text, item.itemID);
        }

        return items;
    }

    const juce::File userRoot = brindlex::BrindlexProcessor::getUserPresetFolder ("Cadenzium 2");
};

} // namespace cadenzium::test

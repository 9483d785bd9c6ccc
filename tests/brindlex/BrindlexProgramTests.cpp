#include <brindlex/UserFolders.h>
#include <source/processor/Cadenzium2AudioProcessor.h>

#include <gtest/gtest.h>

#include <thread>

using brindlex::BrindlexProcessor;

namespace
{
constexpr const char* product = "Cadenzium 2";
constexpr const char* noFactoryPresets = "ERROR: No factory presets found! Please reinstall the plugin.";

juce::StringArray toastTexts (BrindlexProcessor& p)
{
    juce::StringArray texts;

    for (const auto& toast : p.getToastManager().getToasts())
        texts.add (toast.text);

    return texts;
}

/** Counts the host notifications a processor sends. */
struct HostSpy : juce::AudioProcessorListener
{
    void audioProcessorParameterChanged (juce::AudioProcessor*, int, float) override {}

    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails& details) override
    {
        if (details.programChanged)
            ++programChanges;
    }

    int programChanges = 0;
};

class BrindlexProgramTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        presetsFolder.deleteRecursively();

        // Factory presets A (swing 20) and B (swing 30), written from a processor's own state.
        Cadenzium2AudioProcessor writer;
        writeFactoryPreset (writer, "A", 20.0f);
        writeFactoryPreset (writer, "B", 30.0f);
    }

    void TearDown() override { presetsFolder.deleteRecursively(); }

    void writeFactoryPreset (Cadenzium2AudioProcessor& p, const juce::String& name, float swing)
    {
        p.setRawParameterValueNotifyingHost ("swing_amount", swing);
        const auto element = p.getPresetManager().createPresetElement ("Brindlex", "", "Tools");
        const auto file = factory.getChildFile (name + ".bpre");
        file.getParentDirectory().createDirectory();
        ASSERT_TRUE (file.replaceWithText (element->toString()));
    }

    static juce::MemoryBlock stateOf (Cadenzium2AudioProcessor& p)
    {
        juce::MemoryBlock block;
        p.getStateInformation (block);
        return block;
    }

    const juce::File presetsFolder = brindlex::UserFolders::getProductFolder (product).getChildFile ("Presets");
    const juce::File factory = BrindlexProcessor::getFactoryPresetFolder (product);
};
} // namespace

TEST_F (BrindlexProgramTest, programsAreTheFlatListWithTheirNames)
{
    Cadenzium2AudioProcessor processor;
    EXPECT_EQ (processor.getNumPrograms(), 3);
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    EXPECT_EQ (processor.getProgramName (0), "Initial Patch");
    EXPECT_EQ (processor.getProgramName (2), "B");
    EXPECT_FALSE (toastTexts (processor).contains (noFactoryPresets));

    EXPECT_EQ (processor.getProgramName (7), "");
    EXPECT_EQ (toastTexts (processor), juce::StringArray ("ERROR: Invalid preset index: 7"));

    processor.setCurrentProgram (2);
    EXPECT_EQ (processor.getCurrentProgram(), 2);
    EXPECT_FLOAT_EQ (processor.getRawParameterValue ("swing_amount"), 30.0f);
}

TEST_F (BrindlexProgramTest, aProgramChangeWithin999MsOfAStateRestoreIsIgnoredAndAt1000MsLoads)
{
    Cadenzium2AudioProcessor source;
    const auto state = stateOf (source);

    Cadenzium2AudioProcessor processor;

    // Start just below the counter's wrap-around: the difference is taken unsigned.
    juce::uint32 now = 0xffffffffu - 500;
    processor.setMillisecondClock ([&now]
                                   { return now; });

    processor.setStateInformation (state.getData(), (int) state.getSize());
    now += 999;
    processor.setCurrentProgram (1);
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    EXPECT_FLOAT_EQ (processor.getRawParameterValue ("swing_amount"), 0.0f);

    now += 1;
    processor.setCurrentProgram (1);
    EXPECT_EQ (processor.getCurrentProgram(), 1);
    EXPECT_FLOAT_EQ (processor.getRawParameterValue ("swing_amount"), 20.0f);
}

TEST_F (BrindlexProgramTest, aHostRestoreSelectsThePresetItsStateNames)
{
    Cadenzium2AudioProcessor first;
    first.setCurrentProgram (2);
    const auto state = stateOf (first);

    const auto xml = juce::AudioProcessor::getXmlFromBinary (state.getData(), (int) state.getSize());
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getStringAttribute ("preset_path"), factory.getChildFile ("B.bpre").getFullPathName());

    Cadenzium2AudioProcessor second;
    HostSpy host;
    second.addListener (&host);
    second.setStateInformation (state.getData(), (int) state.getSize());
    EXPECT_EQ (second.getCurrentProgram(), 2);
    EXPECT_EQ (second.getPresetManager().getCurrentPreset().name, "B");
    EXPECT_FLOAT_EQ (second.getRawParameterValue ("swing_amount"), 30.0f);
    EXPECT_EQ (host.programChanges, 1);

    // A state naming a preset that is gone leaves the current preset alone.
    xml->setAttribute ("preset_path", "/nowhere/Gone.bpre");
    juce::MemoryBlock stale;
    juce::AudioProcessor::copyXmlToBinary (*xml, stale);
    second.setStateInformation (stale.getData(), (int) stale.getSize());
    EXPECT_EQ (second.getCurrentProgram(), 2);

    second.removeListener (&host);
}

TEST_F (BrindlexProgramTest, programChangesFromAHostThreadAreAppliedOnTheMessageThread)
{
    Cadenzium2AudioProcessor processor;

    struct Listener : tarn::PresetManager::Listener
    {
        void currentPresetChanged (const tarn::PresetInfo&) override
        {
            onMessageThread = juce::MessageManager::getInstance()->isThisTheMessageThread();
        }

        std::optional<bool> onMessageThread;
    } listener;

    processor.getPresetManager().addListener (&listener);

    std::thread ([&]
                 { processor.setCurrentProgram (2); })
        .join();
    EXPECT_EQ (processor.getCurrentProgram(), 0) << "not loaded on the host's thread";

    juce::MessageManager::getInstance()->runDispatchLoopUntil (50);
    EXPECT_EQ (processor.getCurrentProgram(), 2);
    EXPECT_EQ (listener.onMessageThread, std::optional<bool> (true));

    // A later change on the message thread wins over a request still waiting.
    std::thread ([&]
                 { processor.setCurrentProgram (1); })
        .join();
    processor.setCurrentProgram (2);
    juce::MessageManager::getInstance()->runDispatchLoopUntil (50);
    EXPECT_EQ (processor.getCurrentProgram(), 2);

    // So does a host restore.
    juce::uint32 now = 5000;
    processor.setMillisecondClock ([&now]
                                   { return now; });
    Cadenzium2AudioProcessor other;
    const auto state = stateOf (other);

    std::thread ([&]
                 { processor.setCurrentProgram (1); })
        .join();
    processor.setStateInformation (state.getData(), (int) state.getSize());
    juce::MessageManager::getInstance()->runDispatchLoopUntil (50);
    EXPECT_FLOAT_EQ (processor.getRawParameterValue ("swing_amount"), 0.0f) << "A (swing 20) was not loaded";
    EXPECT_EQ (processor.getCurrentProgram(), 0) << "the restored state names the Initial Patch";

    processor.getPresetManager().removeListener (&listener);
}

TEST_F (BrindlexProgramTest, aSaveTellsTheHostTwiceThatProgramsChanged)
{
    Cadenzium2AudioProcessor processor;
    HostSpy host;
    processor.addListener (&host);

    processor.getPresetManager().savePreset ("Mine", "Ada", "", "");
    EXPECT_EQ (host.programChanges, 2);
    EXPECT_EQ (processor.getNumPrograms(), 4);
    EXPECT_EQ (processor.getProgramName (processor.getCurrentProgram()), "Mine");

    processor.removeListener (&host);
}

TEST_F (BrindlexProgramTest, aMissingFactoryFolderIsReportedAtStartUpAndLogged)
{
    factory.deleteRecursively();
    Cadenzium2AudioProcessor processor;

    EXPECT_TRUE (toastTexts (processor).contains (noFactoryPresets));
    EXPECT_TRUE (processor.getLogger().getLogFile().loadFileAsString().contains (noFactoryPresets));
    EXPECT_EQ (processor.getNumPrograms(), 0);
    EXPECT_EQ (processor.getProgramName (0), "");
}

TEST_F (BrindlexProgramTest, hostStatesThatAreNotPlainStateXmlLeaveTheStateAlone)
{
    Cadenzium2AudioProcessor processor;
    processor.setRawParameterValueNotifyingHost ("swing_amount", 12.0f);

    Cadenzium2AudioProcessor source;
    source.setRawParameterValueNotifyingHost ("swing_amount", 99.0f);
    const auto good = stateOf (source);
    const auto xmlText = juce::String::fromUTF8 (static_cast<const char*> (good.getData()) + 8);

    auto container = [] (const juce::String& text, int claimedLength)
    {
        juce::MemoryOutputStream out;
        out.writeInt (0x21324356);
        out.writeInt (claimedLength);
        out << text;
        out.writeByte (0);
        return out.getMemoryBlock();
    };

    const auto withDocumentType = xmlText.replace ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
                                                   "<?xml version=\"1.0\"?><!DOCTYPE x [<!ENTITY e \"e\">]>");
    ASSERT_NE (withDocumentType, xmlText);

    const std::vector<juce::MemoryBlock> refused {
        juce::MemoryBlock ("VC2!", 4),
        juce::MemoryBlock ("XXXX\x10\0\0\0<cadenzium2/>\0", 21),
        container (withDocumentType, withDocumentType.getNumBytesAsUTF8() + 1),
        container (xmlText, -5),
        container (xmlText.dropLastCharacters (30), xmlText.getNumBytesAsUTF8()),
        container ("<somethingelse/>", 17),
    };

    for (const auto& block : refused)
    {
        processor.setStateInformation (block.getData(), (int) block.getSize());
        EXPECT_FLOAT_EQ (processor.getRawParameterValue ("swing_amount"), 12.0f);
    }

    // A length claiming more than the block holds is read up to the block's end.
    const auto overclaimed = container (xmlText, 1 << 30);
    processor.setStateInformation (overclaimed.getData(), (int) overclaimed.getSize());
    EXPECT_FLOAT_EQ (processor.getRawParameterValue ("swing_amount"), 99.0f);
}

#include <tests/tarn/presets/PresetTestFiles.h>

using namespace cadenzium::test;

namespace
{
using BrindlexProgramListTest = PresetLibraryTest;

/** A user preset holding the processor's state with `swing` set, saved as a user would. */
void saveUserPreset (const juce::String& name, float swing)
{
    Cadenzium2AudioProcessor writer;
    writer.setRawParameterValueNotifyingHost ("swing_amount", swing);
    writer.getPresetManager().savePreset (name, "Ada", "", "");
}

/** Every program, chosen by the host: it loads the entry the host's list names. */
void expectEveryProgramLoadsWhatItsNameSays (Cadenzium2AudioProcessor& processor, const std::map<juce::String, float>& swingOfPreset)
{
    ASSERT_EQ (processor.getNumPrograms(), (int) swingOfPreset.size());

    // Backwards, so that no program is the current one already when it is chosen.
    for (int program = processor.getNumPrograms(); --program >= 0;)
    {
        SCOPED_TRACE ("program " + std::to_string (program));
        const auto name = processor.getProgramName (program);
        ASSERT_EQ (swingOfPreset.count (name), 1u) << name;

        processor.setCurrentProgram (program);
        EXPECT_EQ (processor.getCurrentProgram(), program);
        EXPECT_EQ (processor.getPresetManager().getCurrentPreset().name, name);
        EXPECT_FLOAT_EQ (processor.getRawParameterValue ("swing_amount"), swingOfPreset.at (name)) << name;
    }
}
} // namespace

TEST_F (BrindlexProgramListTest, theInitialPatchAndEveryPresetHaveProgramsThatLoadWhatTheirNamesSayAndACutOffPresetIsNoProgram)
{
    factory.deleteRecursively();
    saveUserPreset ("Mine", 25.0f);
    saveUserPreset ("Yours", 35.0f);

    {
        Cadenzium2AudioProcessor processor;
        EXPECT_EQ (processor.getProgramName (0), "Initial Patch");
        EXPECT_EQ (processor.getProgramName (1), "Mine");
        expectEveryProgramLoadsWhatItsNameSays (processor, { { "Initial Patch", 0.0f }, { "Mine", 25.0f }, { "Yours", 35.0f } });

        // The preset menu and the browser number the presets from the same list.
        const auto userFolder = processor.getPresetManager().getIndexTree().getChildWithName ("f_user");
        ASSERT_EQ (userFolder.getNumChildren(), 2);
        EXPECT_EQ ((int) userFolder.getChild (0).getProperty ("preset_index"), 1);
        EXPECT_EQ ((int) userFolder.getChild (1).getProperty ("preset_index"), 2);
    }

    // A factory folder, with a preset cut off right after its root's start tag: that one must
    // not reach the host's list.
    ASSERT_TRUE (factory.createDirectory().wasOk());
    {
        Cadenzium2AudioProcessor writer;
        writeFactoryPreset (writer, "Pluck.bpre", 20.0f);
    }
    const auto text = factory.getChildFile ("Pluck.bpre").loadFileAsString();
    ASSERT_TRUE (factory.getChildFile ("Cut.bpre").replaceWithText (text.substring (0, text.indexOf (text.indexOf ("<cadenzium2"), ">") + 1)));

    Cadenzium2AudioProcessor processor;
    expectEveryProgramLoadsWhatItsNameSays (processor, { { "Initial Patch", 0.0f }, { "Pluck", 20.0f }, { "Mine", 25.0f }, { "Yours", 35.0f } });
}

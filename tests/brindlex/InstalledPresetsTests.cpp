#include <tests/tarn/presets/PresetTestFiles.h>

using namespace cadenzium::test;

namespace
{
/** A package's factory library among the system's data folders (the test's own). */
class InstalledPresetsTest : public PresetLibraryTest
{
protected:
    void TearDown() override
    {
        installed.getParentDirectory().deleteRecursively();
        PresetLibraryTest::TearDown();
    }

    const juce::File installed = brindlex::UserFolders::getInstalledFiles ("Cadenzium 2", "Presets/Factory")[0];
};
} // namespace

TEST_F (InstalledPresetsTest, withoutFactoryPresetsOfTheirOwnTheUserGetsTheInstalledOnesAndSavesIntoTheirOwnFolder)
{
    writePresetFile (installed.getChildFile ("Basslines/Root Pulse.bpre"));

    {
        Cadenzium2AudioProcessor processor;
        auto& presets = processor.getPresetManager();
        EXPECT_EQ (presets.getFactoryRoot(), installed);
        EXPECT_EQ (namesOf (*presets.getPresetList()), juce::StringArray ({ "Initial Patch", "Root Pulse" }));
        EXPECT_TRUE (toastTexts (processor).isEmpty()) << toastTexts (processor).joinIntoString ("\n");

        // A song made with it names it the same way as with the user's own copy.
        ASSERT_TRUE (presets.loadPreset (1));
        EXPECT_EQ (presets.getCurrentPresetReference(), "Factory/Basslines/Root Pulse.bpre");

        presets.savePreset ("Mine", "Ada", "", "");
        EXPECT_TRUE (user.getChildFile ("Mine.bpre").existsAsFile());
        EXPECT_EQ (installed.findChildFiles (juce::File::findFiles, true).size(), 1);
    }

    // The user's own factory presets, where there are any, come first.
    writePresetFile (factory.getChildFile ("Own.bpre"));
    Cadenzium2AudioProcessor processor;
    EXPECT_EQ (processor.getPresetManager().getFactoryRoot(), factory);
    EXPECT_EQ (namesOf (*processor.getPresetManager().getPresetList()), juce::StringArray ({ "Initial Patch", "Own", "Mine" }));
}

#include "PresetTestFiles.h"

#include <tarn/presets/PresetManager.h>
#include <tarn/util/AtomicFile.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace cadenzium::test;
using tarn::PresetInfo;

namespace
{
using PresetManagerTest = PresetLibraryTest;

float swingOf (Cadenzium2AudioProcessor& p) { return p.getRawParameterValue ("swing_amount"); }

/** Saves through the manager and returns what its completion callback said, if it was called. */
std::optional<bool> save (tarn::PresetManager& presets, const juce::String& name, const juce::String& description = {}, const juce::String& categories = {})
{
    std::optional<bool> saved;
    presets.savePreset (name, "Ada", description, categories, [&] (bool ok)
                        { saved = ok; });
    return saved;
}

juce::MemoryBlock bytesOf (const juce::File& file)
{
    juce::MemoryBlock bytes;
    EXPECT_TRUE (file.loadFileAsData (bytes)) << file.getFullPathName();
    return bytes;
}
} // namespace

TEST_F (PresetManagerTest, aSavedPresetComesBackInAFreshProcessorWithItsTexts)
{
    const auto file = user.getChildFile ("Warm Pad.bpre");

    {
        Cadenzium2AudioProcessor first;
        first.setRawParameterValueNotifyingHost ("swing_amount", 42.0f);
        ASSERT_EQ (save (first.getPresetManager(), "Warm Pad", "Soft and slow", "Pads,Warm"), std::optional<bool> (true));
        const auto text = bytesOf (file).toString();
        EXPECT_TRUE (text.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n")) << "no byte-order mark, default header";
        EXPECT_FALSE (text.contains ("preset_path"));
        EXPECT_EQ (first.getPresetManager().getCurrentPreset().path, file.getFullPathName());
        EXPECT_EQ (first.getSettings().getString ("preset_author_name"), "Ada");
        EXPECT_TRUE (first.getSettings().getFile().loadFileAsString().contains ("Ada")) << "saved at once";
    }

    Cadenzium2AudioProcessor second;
    struct Listener : tarn::PresetManager::Listener
    {
        void currentPresetChanged (const PresetInfo& current) override { events.add ("current: " + current.name); }
        juce::StringArray events;
    } listener;
    second.getPresetManager().addListener (&listener);
    second.getPresetManager().onStateAboutToBeApplied = [&] (const juce::ValueTree& state)
    { listener.events.add ("about to apply " + state.getType().toString()); };

    const auto list = second.getPresetManager().getPresetList();
    ASSERT_EQ (list->size(), 2u);
    const auto entry = (*list)[1];
    EXPECT_EQ (entry.name + "|" + entry.author + "|" + entry.description + "|" + entry.categories.joinIntoString (","), "Warm Pad|Ada|Soft and slow|Pads,Warm");
    ASSERT_TRUE (second.getPresetManager().loadPreset (entry.index));
    EXPECT_FLOAT_EQ (swingOf (second), 42.0f);
    EXPECT_EQ (second.getPresetManager().getCurrentPreset(), entry);
    EXPECT_EQ (listener.events, juce::StringArray ({ "about to apply cadenzium2", "current: Warm Pad" }));
    second.getPresetManager().removeListener (&listener);
}

TEST_F (PresetManagerTest, aPresetIsOverwrittenOnlyWhenTheAnswerIsYesAndThenWholeOrNotAtAll)
{
    Cadenzium2AudioProcessor processor;
    auto& presets = processor.getPresetManager();
    save (presets, "Keys");
    const auto file = user.getChildFile ("Keys.bpre");
    const auto original = bytesOf (file);
    processor.setRawParameterValueNotifyingHost ("swing_amount", 90.0f);
    EXPECT_EQ (save (presets, "Keys"), std::optional<bool> (false)) << "nobody to ask: never overwritten";

    // A child process whose files may not grow past 512 bytes stands for a disk that fills
    // up in the middle of the write.
    const auto pid = fork();

    if (pid == 0)
    {
        const rlimit limit { 512, 512 };
        std::signal (SIGXFSZ, SIG_IGN);
        processor.setRawParameterValueNotifyingHost ("swing_amount", 55.0f);
        juce::String askedTitle; // the editor's OK/Cancel box takes its texts from here
        presets.setOverwriteQuestion ([&] (const juce::String& title, auto&, auto answer)
                                      {
                                          askedTitle = title;
                                          answer (true); });
        const auto ok = setrlimit (RLIMIT_FSIZE, &limit) == 0 && save (presets, "Keys") == std::optional<bool> (false)
                        && askedTitle == "Overwite Preset?" && toastTexts (processor)[toastTexts (processor).size() - 1] == "ERROR: Couldn't save preset!";
        _exit (ok ? 0 : 1);
    }

    int status = 1;
    ASSERT_EQ (waitpid (pid, &status, 0), pid);
    EXPECT_TRUE (WIFEXITED (status) && WEXITSTATUS (status) == 0) << "the child saw the failure";
    EXPECT_EQ (bytesOf (file), original);
    const auto unicode = juce::String::fromUTF8 ("zweite F\xc3\xa4hre");
    EXPECT_TRUE (tarn::AtomicFile::replaceWithText (file, unicode).wasOk());
    EXPECT_EQ (file.loadFileAsString(), unicode);
    EXPECT_EQ (file.getSize(), 13);
    EXPECT_TRUE (tarn::AtomicFile::replaceWithText (user.getChildFile ("missing/b.bpre"), "x").failed());
    user.getChildFile ("folder.bpre").createDirectory();
    EXPECT_TRUE (tarn::AtomicFile::replaceWithText (user.getChildFile ("folder.bpre"), "x").failed());
    EXPECT_EQ (user.findChildFiles (juce::File::findFiles, false, "*").size(), 1) << "no temporary file is left beside it";
}

TEST_F (PresetManagerTest, stepsStopAtEitherEndAndAPresetNoLongerValidLoadsTheInitialStateOrNothing)
{
    Cadenzium2AudioProcessor processor;
    writeFactoryPreset (processor, "Capital.bpre", 40.0f);
    writeFactoryPreset (processor, "Damaged.bpre", 30.0f);
    writeFactoryPreset (processor, "Swapped.bpre", 20.0f);
    auto& presets = processor.getPresetManager();
    presets.refresh();
    ASSERT_EQ (presets.getNumPresets(), 4);

    // Previous at the first and next at the last load nothing.
    ASSERT_TRUE (presets.loadPreset (0));
    processor.setRawParameterValueNotifyingHost ("swing_amount", 33.0f);
    EXPECT_FALSE (presets.loadPreviousPreset());
    EXPECT_FLOAT_EQ (swingOf (processor), 33.0f) << "nothing was loaded";
    ASSERT_TRUE (presets.loadPreset (3));
    processor.setRawParameterValueNotifyingHost ("swing_amount", 33.0f);
    EXPECT_FALSE (presets.loadNextPreset());
    EXPECT_FALSE (presets.loadPreset (-1));
    EXPECT_EQ (presets.getCurrentPreset().name, "Swapped");
    EXPECT_FLOAT_EQ (swingOf (processor), 33.0f);

    // Each file changes on disk after the index was built.
    writePresetFile (factory.getChildFile ("Swapped.bpre"), "somethingelse");
    const auto damaged = factory.getChildFile ("Damaged.bpre");
    damaged.replaceWithText (damaged.loadFileAsString().dropLastCharacters (40));
    const auto capital = factory.getChildFile ("Capital.bpre");
    capital.replaceWithText (capital.loadFileAsString().replace ("<cadenzium2", "<CADENZIUM2").replace ("</cadenzium2>", "</CADENZIUM2>"));
    ASSERT_TRUE (presets.loadPreset (1)); // the root tag is lower-cased
    EXPECT_FLOAT_EQ (swingOf (processor), 40.0f);

    // A foreign file: a warning, then the initial state.
    ASSERT_TRUE (presets.loadPreset (3));
    EXPECT_EQ (toastTexts (processor)[toastTexts (processor).size() - 1], "ERROR: Invalid preset");
    EXPECT_FLOAT_EQ (swingOf (processor), 0.0f);
    EXPECT_TRUE (presets.getCurrentPreset().isInitialPatch());

    // A file that no longer parses: a warning, and nothing changes.
    processor.getToastManager().takeToasts();
    processor.setRawParameterValueNotifyingHost ("swing_amount", 5.0f);
    EXPECT_FALSE (presets.loadPreset (2));
    EXPECT_EQ (toastTexts (processor), juce::StringArray ("ERROR: Invalid preset"));
    EXPECT_FLOAT_EQ (swingOf (processor), 5.0f);
    EXPECT_TRUE (presets.getCurrentPreset().isInitialPatch());
}

TEST_F (PresetManagerTest, blankAndPathLikeNamesAreRefusedAndATildeStaysInTheUserFolder)
{
    Cadenzium2AudioProcessor processor;
    processor.getToastManager().takeToasts();

    for (const auto* name : { "", "   ", "../Escape", "a/b" })
        EXPECT_EQ (save (processor.getPresetManager(), name), std::optional<bool> (false)) << name;

    // One toast per refusal, the same message counted on one toast.
    int refusals = 0;
    for (const auto& toast : processor.getToastManager().getToasts())
        refusals += toast.count;
    EXPECT_EQ (refusals, 4);
    EXPECT_FALSE (presetsFolder.getChildFile ("Escape.bpre").exists());
    EXPECT_TRUE (user.findChildFiles (juce::File::findFilesAndDirectories, true, "*").isEmpty());

    // A path starting with "~" means the home folder to the file classes.
    EXPECT_EQ (save (processor.getPresetManager(), "~"), std::optional<bool> (true));
    EXPECT_TRUE (user.getChildFile ("./~.bpre").existsAsFile());
}

TEST_F (PresetManagerTest, withoutAFactoryFolderTheStartUpSaysSoInAToastAndTheLog)
{
    factory.deleteRecursively();
    Cadenzium2AudioProcessor processor;
    const juce::String noFactoryPresets = "ERROR: No factory presets found! Please reinstall the plugin.";
    EXPECT_TRUE (toastTexts (processor).contains (noFactoryPresets));
    EXPECT_TRUE (processor.getLogger().getLogFile().loadFileAsString().contains (noFactoryPresets));
}

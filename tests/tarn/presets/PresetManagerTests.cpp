#include "PresetTestFiles.h"

#include <brindlex/UserFolders.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/presets/PresetManager.h>
#include <tarn/util/AtomicFile.h>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using tarn::PresetInfo;
using tarn::PresetManager;
using tarn::Toast;

namespace
{
constexpr const char* product = "Cadenzium 2";

float rawValue (Cadenzium2AudioProcessor& p, const char* id)
{
    return p.getRawParameterValue (id);
}

juce::StringArray toastTexts (Cadenzium2AudioProcessor& p)
{
    juce::StringArray texts;

    for (const auto& toast : p.getToastManager().getToasts())
        texts.add (toast.text);

    return texts;
}

std::optional<PresetInfo> entryNamed (Cadenzium2AudioProcessor& p, const juce::String& name)
{
    for (const auto& entry : *p.getPresetManager().getPresetList())
        if (entry.name == name)
            return entry;

    return std::nullopt;
}

/** Runs the body in a forked child (which may limit itself freely) and returns its verdict. */
bool runInChildProcess (const std::function<bool()>& body)
{
    const auto pid = fork();

    if (pid == 0)
        _exit (body() ? 0 : 1);

    int status = 0;
    return pid > 0 && waitpid (pid, &status, 0) == pid && WIFEXITED (status) && WEXITSTATUS (status) == 0;
}

struct RecordingListener : PresetManager::Listener
{
    void currentPresetChanged (const PresetInfo& current) override { events.add ("current: " + current.name); }
    juce::StringArray events;
};

class PresetManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // An installed plug-in has a factory folder, so the Initial Patch is entry 0.
        presetsFolder.deleteRecursively();
        factory.createDirectory();
    }

    void TearDown() override { presetsFolder.deleteRecursively(); }

    /** A factory preset holding the processor's state with `swing` set. */
    void writeFactoryPreset (Cadenzium2AudioProcessor& p, const juce::String& relativePath, float swing)
    {
        const auto before = rawValue (p, "swing_amount");
        p.setRawParameterValueNotifyingHost ("swing_amount", swing);
        const auto element = p.getPresetManager().createPresetElement ("Brindlex", "", "Tools");
        p.setRawParameterValueNotifyingHost ("swing_amount", before);

        const auto file = factory.getChildFile (relativePath);
        file.getParentDirectory().createDirectory();
        ASSERT_TRUE (file.replaceWithText (element->toString()));
    }

    const juce::File presetsFolder = brindlex::UserFolders::getProductFolder (product).getChildFile ("Presets");
    const juce::File factory = brindlex::BrindlexProcessor::getFactoryPresetFolder (product);
    const juce::File user = brindlex::BrindlexProcessor::getUserPresetFolder (product);
};
} // namespace

TEST_F (PresetManagerTest, aSavedPresetComesBackInAFreshProcessorWithItsTexts)
{
    const auto file = user.getChildFile ("Warm Pad.bpre");

    {
        Cadenzium2AudioProcessor first;
        first.setRawParameterValueNotifyingHost ("swing_amount", 42.0f);
        first.setRawParameterValueNotifyingHost ("input_latch", 1.0f);
        first.setRawParameterValueNotifyingHost ("g_note_density", 77.0f);

        std::optional<bool> saved;
        first.getPresetManager().savePreset ("Warm Pad", "Ada", "Soft and slow", "Pads,Warm", [&] (bool ok)
                                             { saved = ok; });
        ASSERT_EQ (saved, std::optional<bool> (true));

        juce::MemoryBlock bytes;
        ASSERT_TRUE (file.loadFileAsData (bytes));
        const auto text = bytes.toString();
        EXPECT_TRUE (text.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n")) << "no byte-order mark, default header";
        EXPECT_TRUE (text.contains ("author=\"Ada\"") && text.contains ("categories=\"Pads,Warm\""));
        EXPECT_FALSE (text.contains ("preset_path"));

        const auto toasts = first.getToastManager().getToasts();
        ASSERT_FALSE (toasts.empty());
        EXPECT_EQ (toasts.back().text, "Preset saved");
        EXPECT_EQ (toasts.back().kind, Toast::information);

        EXPECT_EQ (first.getPresetManager().getCurrentPreset().name, "Warm Pad");
        EXPECT_EQ (first.getPresetManager().getCurrentPreset().path, file.getFullPathName());
        EXPECT_EQ (first.getSettings().getString ("preset_author_name"), "Ada");
        EXPECT_TRUE (first.getSettings().getFile().loadFileAsString().contains ("Ada")) << "saved at once";
    }

    Cadenzium2AudioProcessor second;
    RecordingListener listener;
    second.getPresetManager().addListener (&listener);
    second.getPresetManager().onStateAboutToBeApplied = [&] (const juce::ValueTree& state)
    { listener.events.add ("about to apply " + state.getType().toString()); };

    const auto entry = entryNamed (second, "Warm Pad");
    ASSERT_TRUE (entry.has_value());
    EXPECT_FALSE (entry->isFactory);
    EXPECT_EQ (entry->author, "Ada");
    EXPECT_EQ (entry->description, "Soft and slow");
    EXPECT_EQ (entry->categories, juce::StringArray ({ "Pads", "Warm" }));

    EXPECT_FLOAT_EQ (rawValue (second, "swing_amount"), 0.0f);
    ASSERT_TRUE (second.getPresetManager().loadPreset (entry->index));
    EXPECT_FLOAT_EQ (rawValue (second, "swing_amount"), 42.0f);
    EXPECT_FLOAT_EQ (rawValue (second, "input_latch"), 1.0f);
    EXPECT_FLOAT_EQ (rawValue (second, "g_note_density"), 77.0f);
    EXPECT_EQ (second.getPresetManager().getCurrentPreset(), *entry);
    EXPECT_EQ (listener.events, juce::StringArray ({ "about to apply cadenzium2", "current: Warm Pad" }));

    second.getPresetManager().removeListener (&listener);
}

TEST_F (PresetManagerTest, overwritingAsksFirstAndCancelLeavesTheFileByteIdentical)
{
    Cadenzium2AudioProcessor processor;
    auto& presets = processor.getPresetManager();
    processor.setRawParameterValueNotifyingHost ("swing_amount", 10.0f);
    presets.savePreset ("Keys", "Ada", "", "");

    const auto file = user.getChildFile ("Keys.bpre");
    juce::MemoryBlock original;
    ASSERT_TRUE (file.loadFileAsData (original));

    processor.setRawParameterValueNotifyingHost ("swing_amount", 90.0f);

    // Nobody to ask: an existing preset is never overwritten.
    std::optional<bool> saved;
    presets.savePreset ("Keys", "Ada", "", "", [&] (bool ok)
                        { saved = ok; });
    EXPECT_EQ (saved, std::optional<bool> (false));

    // The editor answers later, with its OK/Cancel box.
    juce::String askedTitle, askedMessage;
    std::function<void (bool)> pendingAnswer;
    presets.setOverwriteQuestion ([&] (const juce::String& title, const juce::String& message, std::function<void (bool)> answer)
                                  {
                                      askedTitle = title;
                                      askedMessage = message;
                                      pendingAnswer = std::move (answer); });

    saved.reset();
    presets.savePreset ("Keys", "Ada", "", "", [&] (bool ok)
                        { saved = ok; });
    EXPECT_EQ (askedTitle, "Overwite Preset?");
    EXPECT_EQ (askedMessage, "A preset already exists with that name. Would you like to overwrite it?");
    ASSERT_TRUE (pendingAnswer != nullptr);
    EXPECT_FALSE (saved.has_value());

    pendingAnswer (false);
    EXPECT_EQ (saved, std::optional<bool> (false));
    juce::MemoryBlock afterCancel;
    ASSERT_TRUE (file.loadFileAsData (afterCancel));
    EXPECT_EQ (afterCancel, original);

    saved.reset();
    presets.savePreset ("Keys", "Ada", "", "", [&] (bool ok)
                        { saved = ok; });
    pendingAnswer (true);
    EXPECT_EQ (saved, std::optional<bool> (true));

    Cadenzium2AudioProcessor reader;
    ASSERT_TRUE (reader.getPresetManager().loadPreset (entryNamed (reader, "Keys")->index));
    EXPECT_FLOAT_EQ (rawValue (reader, "swing_amount"), 90.0f);
}

TEST_F (PresetManagerTest, aWriteThatFailsHalfwayKeepsTheOldPresetAndSaysSo)
{
    Cadenzium2AudioProcessor processor;
    auto& presets = processor.getPresetManager();
    presets.savePreset ("Keys", "Ada", "", "");

    const auto file = user.getChildFile ("Keys.bpre");
    juce::MemoryBlock original;
    ASSERT_TRUE (file.loadFileAsData (original));

    // A child process whose files may not grow past 512 bytes stands for a disk that
    // fills up in the middle of the write.
    const bool childSawTheFailure = runInChildProcess ([&]
                                                       {
                                                           const rlimit limit { 512, 512 };
                                                           std::signal (SIGXFSZ, SIG_IGN);

                                                           if (setrlimit (RLIMIT_FSIZE, &limit) != 0)
                                                               return false;

                                                           processor.setRawParameterValueNotifyingHost ("swing_amount", 55.0f);
                                                           presets.setOverwriteQuestion ([] (auto&, auto&, auto answer) { answer (true); });

                                                           std::optional<bool> saved;
                                                           presets.savePreset ("Keys", "Ada", "", "", [&] (bool ok) { saved = ok; });

                                                           const auto toasts = toastTexts (processor);
                                                           return saved == std::optional<bool> (false)
                                                                  && toasts[toasts.size() - 1] == "ERROR: Couldn't save preset!"; });
    EXPECT_TRUE (childSawTheFailure);

    juce::MemoryBlock after;
    ASSERT_TRUE (file.loadFileAsData (after));
    EXPECT_EQ (after, original);

    // No temporary file is left beside it.
    EXPECT_EQ (user.findChildFiles (juce::File::findFiles, false, "*").size(), 1);
}

TEST_F (PresetManagerTest, theAtomicWriterReplacesWholeFilesOrNothing)
{
    user.createDirectory();
    const auto file = user.getChildFile ("a.bpre");

    EXPECT_TRUE (tarn::AtomicFile::replaceWithText (file, "first").wasOk());
    EXPECT_TRUE (tarn::AtomicFile::replaceWithText (file, juce::String::fromUTF8 ("zweite F\xc3\xa4hre")).wasOk());
    EXPECT_EQ (file.loadFileAsString(), juce::String::fromUTF8 ("zweite F\xc3\xa4hre"));
    EXPECT_EQ (file.getSize(), 13);

    EXPECT_TRUE (tarn::AtomicFile::replaceWithText (user.getChildFile ("missing/b.bpre"), "x").failed());

    user.getChildFile ("folder.bpre").createDirectory();
    EXPECT_TRUE (tarn::AtomicFile::replaceWithText (user.getChildFile ("folder.bpre"), "x").failed());

    EXPECT_EQ (user.findChildFiles (juce::File::findFiles, false, "*").size(), 1);
}

TEST_F (PresetManagerTest, previousAtTheFirstAndNextAtTheLastLoadNothing)
{
    Cadenzium2AudioProcessor processor;
    writeFactoryPreset (processor, "A.bpre", 20.0f);
    writeFactoryPreset (processor, "B.bpre", 30.0f);
    auto& presets = processor.getPresetManager();
    presets.refresh();
    ASSERT_EQ (presets.getNumPresets(), 3);

    ASSERT_TRUE (presets.loadPreset (0));
    EXPECT_FALSE (presets.loadPreviousPreset());
    EXPECT_EQ (presets.getCurrentPreset().index, 0);
    EXPECT_TRUE (presets.getCurrentPreset().isInitialPatch());

    ASSERT_TRUE (presets.loadNextPreset());
    EXPECT_EQ (presets.getCurrentPreset().name, "A");
    ASSERT_TRUE (presets.loadNextPreset());
    EXPECT_EQ (presets.getCurrentPreset().name, "B");
    EXPECT_FLOAT_EQ (rawValue (processor, "swing_amount"), 30.0f);

    processor.setRawParameterValueNotifyingHost ("swing_amount", 33.0f);
    EXPECT_FALSE (presets.loadNextPreset());
    EXPECT_FALSE (presets.loadPreset (-1));
    EXPECT_EQ (presets.getCurrentPreset().name, "B");
    EXPECT_FLOAT_EQ (rawValue (processor, "swing_amount"), 33.0f) << "nothing was loaded";

    ASSERT_TRUE (presets.loadPreviousPreset());
    EXPECT_EQ (presets.getCurrentPreset().name, "A");
    EXPECT_FLOAT_EQ (rawValue (processor, "swing_amount"), 20.0f);
}

TEST_F (PresetManagerTest, aPresetThatIsNoLongerValidLoadsTheInitialStateOrNothing)
{
    Cadenzium2AudioProcessor processor;
    writeFactoryPreset (processor, "Swapped.bpre", 20.0f);
    writeFactoryPreset (processor, "Damaged.bpre", 30.0f);
    writeFactoryPreset (processor, "Capital.bpre", 40.0f);
    auto& presets = processor.getPresetManager();
    presets.refresh();

    // Each file changes on disk after the index was built.
    cadenzium::test::writePresetFile (factory.getChildFile ("Swapped.bpre"), "somethingelse");
    const auto damaged = factory.getChildFile ("Damaged.bpre");
    damaged.replaceWithText (damaged.loadFileAsString().dropLastCharacters (40));
    const auto capital = factory.getChildFile ("Capital.bpre");
    capital.replaceWithText (capital.loadFileAsString().replace ("<cadenzium2", "<CADENZIUM2").replace ("</cadenzium2>", "</CADENZIUM2>"));

    // Loading lower-cases the root tag.
    ASSERT_TRUE (presets.loadPreset (entryNamed (processor, "Capital")->index));
    EXPECT_FLOAT_EQ (rawValue (processor, "swing_amount"), 40.0f);

    // A foreign file: a warning, then the initial state.
    ASSERT_TRUE (presets.loadPreset (entryNamed (processor, "Swapped")->index));
    EXPECT_EQ (toastTexts (processor)[toastTexts (processor).size() - 1], "ERROR: Invalid preset");
    EXPECT_FLOAT_EQ (rawValue (processor, "swing_amount"), 0.0f);
    EXPECT_TRUE (presets.getCurrentPreset().isInitialPatch());

    // A file that no longer parses: a warning, and nothing changes.
    processor.getToastManager().takeToasts();
    processor.setRawParameterValueNotifyingHost ("swing_amount", 5.0f);
    EXPECT_FALSE (presets.loadPreset (entryNamed (processor, "Damaged")->index));
    EXPECT_EQ (toastTexts (processor), juce::StringArray ("ERROR: Invalid preset"));
    EXPECT_FLOAT_EQ (rawValue (processor, "swing_amount"), 5.0f);
    EXPECT_TRUE (presets.getCurrentPreset().isInitialPatch());
}

TEST_F (PresetManagerTest, blankAndPathLikeNamesAreRefused)
{
    Cadenzium2AudioProcessor processor;
    auto& presets = processor.getPresetManager();
    processor.getToastManager().takeToasts();

    for (const auto* name : { "", "   ", "../Escape", "a/b" })
    {
        std::optional<bool> saved;
        presets.savePreset (name, "Ada", "", "", [&] (bool ok)
                            { saved = ok; });
        EXPECT_EQ (saved, std::optional<bool> (false)) << name;
    }

    const auto toasts = processor.getToastManager().getToasts();
    ASSERT_EQ (toasts.size(), 4u);

    for (const auto& toast : toasts)
        EXPECT_TRUE (toast.isError());

    EXPECT_FALSE (user.getChildFile (".bpre").exists());
    EXPECT_FALSE (presetsFolder.getChildFile ("Escape.bpre").exists());
    EXPECT_TRUE (user.findChildFiles (juce::File::findFilesAndDirectories, true, "*").isEmpty());
}

TEST_F (PresetManagerTest, indexZeroIsTheInitialStateEvenWithoutAFactoryFolder)
{
    factory.deleteRecursively();
    Cadenzium2AudioProcessor processor;
    processor.setRawParameterValueNotifyingHost ("swing_amount", 25.0f);
    processor.getPresetManager().savePreset ("Mine", "Ada", "", "");
    ASSERT_EQ (processor.getPresetManager().getNumPresets(), 1);

    ASSERT_TRUE (processor.getPresetManager().loadPreset (0));
    EXPECT_FLOAT_EQ (rawValue (processor, "swing_amount"), 0.0f);

    // The state loaded is the initial one, so that is what is current, not "Mine".
    EXPECT_TRUE (processor.getPresetManager().getCurrentPreset().isInitialPatch());
    EXPECT_EQ (processor.getPresetManager().getCurrentPreset().index, 0);
}

#include <tests/source/import/V1TestPresets.h>

#include <source/import/BulkPresetImporter.h>
#include <source/import/V1PresetParser.h>
#include <tarn/presets/PresetIndex.h>
#include <tarn/sequence/SequenceSerialisation.h>
#include <tests/support/TemporaryFolder.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

using namespace cadenzium::test;

namespace
{
class BulkPresetImporterTest : public ::testing::Test
{
protected:
    void SetUp() override { output.deleteRecursively(); }
    void TearDown() override { output.deleteRecursively(); }

    juce::File write (const juce::String& relativePath, const juce::String& text)
    {
        const juce::File file (source.getFullPathName() + "/" + relativePath);
        file.getParentDirectory().createDirectory();
        file.replaceWithText (text);
        return file;
    }

    /** Starts the importer and runs the message loop until it reports the end. */
    void runToEnd (BulkPresetImporter& importer)
    {
        importer.onProgress = [this] (double progress)
        { progressSeen.push_back (progress); };
        importer.onFinished = [this]
        { ++finishedCalls; };
        const auto callsBefore = finishedCalls;
        importer.start();

        for (int i = 0; i < 2000 && finishedCalls == callsBefore; ++i)
            juce::MessageManager::getInstance()->runDispatchLoopUntil (10);
    }

    /** Every file and folder below the output folder, relative to it. */
    std::set<juce::String> written() const
    {
        std::set<juce::String> paths;

        for (const auto& entry : juce::RangedDirectoryIterator (output, true, "*", juce::File::findFilesAndDirectories))
            paths.insert (entry.getFile().getRelativePathFrom (output));

        return paths;
    }

    Cadenzium2AudioProcessor running;
    tarn::PresetManager& library = running.getPresetManager();
    const juce::File output = library.getUserRoot().getChildFile ("v1");
    const TemporaryFolder folder;
    const juce::File source { folder.string() };
    std::vector<double> progressSeen;
    int finishedCalls = 0;
};
} // namespace

TEST_F (BulkPresetImporterTest, convertsEveryValidPresetOfAFolderTreeIntoTheV1FolderAndNothingElse)
{
    write ("Lead.bpre", v1::songPreset());
    write ("Bass/Root.bpre", v1::songPreset ("1,2,3,4,5,6,7,-1", {}, "0", "8"));
    write ("Bass/Deep/Sub.bpre", v1::songPreset ("-1,1,2,3,4,5,6,7", { { 0, "0|0 24|16383" }, { 3, "12|64" } }));
    write ("Bass/Broken.bpre", v1::invalidPreset());
    write ("Bass/Notes.txt", v1::songPreset());
    write ("~/Home.bpre", v1::songPreset()); // "~" is a folder name here, not the home folder
    source.getChildFile ("Empty").createDirectory();
    std::filesystem::create_directory_symlink (source.getFullPathName().toStdString(),
                                               source.getChildFile ("Bass/Deep/Back Up").getFullPathName().toStdString());

    const auto runningPhrase = running.getPhrase (0);
    BulkPresetImporter importer (source, library);
    runToEnd (importer);

    ASSERT_EQ (finishedCalls, 1);
    EXPECT_TRUE (std::is_sorted (progressSeen.begin(), progressSeen.end()) && progressSeen.back() == 1.0);
    EXPECT_EQ (importer.getNumConverted(), 4);
    EXPECT_EQ (written(), (std::set<juce::String> { "Bass", "Bass/Deep", "Bass/Deep/Sub.bpre", "Bass/Root.bpre", "Lead.bpre", "~", "~/Home.bpre" }));
    EXPECT_FALSE (juce::File ("~/Home.bpre").exists());
    EXPECT_TRUE (tarn::sequencesAreEqual (running.getPhrase (0), runningPhrase)) << "the running instance is not touched";

    // The library was refreshed: each converted preset loads back with the v1 file's phrases.
    for (const auto& relativePath : { "Lead.bpre", "Bass/Root.bpre", "Bass/Deep/Sub.bpre" })
    {
        const auto file = output.getChildFile (relativePath);
        const auto list = library.getPresetList();
        const auto entry = std::find_if (list->begin(), list->end(), [&file] (const auto& e)
                                         { return e.path == file.getFullPathName(); });
        ASSERT_NE (entry, list->end()) << relativePath;
        EXPECT_EQ (entry->description, "A user preset imported from version 1");
        EXPECT_EQ (entry->categories, juce::StringArray { "v1" });
        EXPECT_EQ (entry->author, BulkPresetImporter::author);
        ASSERT_TRUE (library.loadPresetFile (file));

        const auto expected = V1PresetParser::parseFile (source.getChildFile (relativePath));
        EXPECT_EQ (running.getPhraseManager().getRows(), expected.rows);
        EXPECT_EQ (running.getIntParameterValue (ParameterIds::inputFill), expected.fill ? 1 : 0) << relativePath;

        for (int slot = 0; slot < Cadenzium2AudioProcessor::numPhrases; ++slot)
            EXPECT_TRUE (tarn::sequencesAreEqual (running.getPhrase (slot), expected.phrases[(size_t) slot])) << relativePath << " phrase " << slot;
    }
}

TEST_F (BulkPresetImporterTest, aFolderWithoutValidPresetsFinishesWritingNothing)
{
    source.getChildFile ("Empty").createDirectory();
    BulkPresetImporter emptyFolder (source, library);
    runToEnd (emptyFolder);
    EXPECT_EQ (progressSeen, std::vector<double> { 1.0 });

    write ("Broken.bpre", v1::invalidPreset());
    BulkPresetImporter onlyInvalid (source, library);
    runToEnd (onlyInvalid);
    EXPECT_EQ (finishedCalls, 2);
    EXPECT_FALSE (output.exists());
}

TEST_F (BulkPresetImporterTest, destroyingItMidRunStopsBetweenFilesLeavingOnlyWholePresets)
{
    for (int i = 0; i < 60; ++i)
        write ("Many/" + juce::String (i) + ".bpre", v1::songPreset());

    auto importer = std::make_unique<BulkPresetImporter> (source, library);
    importer->onFinished = [this]
    { ++finishedCalls; };
    importer->start();

    for (int i = 0; i < 500 && importer->getProgress() == 0.0; ++i)
        juce::Thread::sleep (1);

    importer.reset();
    juce::MessageManager::getInstance()->runDispatchLoopUntil (50);
    EXPECT_EQ (finishedCalls, 0) << "no callback reaches an importer that is gone";

    // Whole presets only, and no temporary file left behind.
    for (const auto& file : output.findChildFiles (juce::File::findFiles, true, "*"))
        EXPECT_TRUE (! file.isHidden() && tarn::PresetIndex::readDocument (file) != nullptr) << file.getFullPathName();
}

#include <source/render/CadenziumRenderer.h>
#include <source/render/ChordProgressionFile.h>
#include <tests/source/processor/state/StateTestSupport.h>
#include <tests/support/TemporaryFolder.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
struct Run
{
    int exitCode = -1;
    juce::String output;
};

/** Runs the built command-line renderer in `folder`, which is also its HOME. */
Run runRenderer (const juce::StringArray& arguments, const juce::File& folder)
{
    juce::StringArray command { "/usr/bin/env", "-C", folder.getFullPathName(), "HOME=" + folder.getFullPathName(), CADENZIUM_RENDER_PATH };
    command.addArray (arguments);
    juce::ChildProcess process;

    if (! process.start (command))
        return {};

    auto output = process.readAllProcessOutput();
    process.waitForProcessToFinish (60000);
    return { (int) process.getExitCode(), output };
}

const juce::File examples (CADENZIUM_CHORD_EXAMPLES);

juce::MemoryBlock contentsOf (const juce::File& file)
{
    juce::MemoryBlock bytes;
    return file.loadFileAsData (bytes) ? bytes : juce::MemoryBlock();
}

/** A song whose third phrase draws its notes: a one-in-two chance each, ranges of velocity
    and octave, one row picking a held note at random. */
juce::MemoryBlock songState()
{
    Cadenzium2AudioProcessor processor;
    RowList rows (3);
    rows[1].type = CadenziumModifier::random;
    rows[2].value = CadenziumModifier::highestPitchValue;
    processor.getPhraseManager().setRows (rows);
    std::vector<tarn::SequenceNote> notes;

    for (int i = 0; i < 16; ++i)
    {
        auto& note = notes.emplace_back (makeNote (i % 3, i * 240, 200, 40, 120));
        note.chance = 50;
        note.octaveMax = 1;
    }

    processor.getPhraseManager().setSequence (2, makeSequence (notes), nullptr);
    return stateOf (processor);
}

/** Every run in a folder of its own, with a copy of an example progression: whatever the tool
    writes stays there. */
class CadenziumRender : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE (examples.getChildFile ("Pop Four Chords.mid").copyFileTo (root.getChildFile (chords))); }

    TemporaryFolder folder;
    const juce::File root { folder.string() };
    const juce::String chords = "chords.mid";
};
} // namespace

TEST_F (CadenziumRender, mistakesAndFailuresAreExplainedWithANonZeroStatus)
{
    const auto bad = root.getChildFile ("bad.bpre");
    bad.replaceWithText ("<something_else/>");
    std::vector<std::tuple<juce::StringArray, int, juce::String>> cases {
        { { "--help" }, 0, "" },
        { { "none.mid" }, 1, ChordProgressionFile::missingFileMessage },
        { { chords, "--preset", bad.getFullPathName() }, 1, "Invalid preset" },
        { { chords, "--state", bad.getFullPathName() }, 1, "Invalid state" },
        { { chords, "-o", "no/such/folder/out.mid" }, 1, CadenziumRenderer::cannotWriteMessage },
    };

    // Wrong usage: a pointer to the help.
    for (const juce::StringArray& wrong : { juce::StringArray(), { "--nonsense" }, { chords, "--loud" }, { chords, "b.mid" }, { chords, "--phrase", "13" },
                                            { chords, "--phrase", "x" }, { chords, "--seed" }, { chords, "--seed", "1.5" }, { chords, "--preset", "p", "--state", "s" } })
        cases.emplace_back (wrong, 2, "see --help");

    for (const auto& [arguments, exitCode, message] : cases)
    {
        const auto run = runRenderer (arguments, root);
        EXPECT_EQ (run.exitCode, exitCode) << arguments.joinIntoString (" ");
        EXPECT_TRUE (run.output.contains (message)) << run.output;
    }
}

TEST_F (CadenziumRender, theDefaultOutputIsNextToTheChordsUnderTheNextFreeName)
{
    ASSERT_TRUE (examples.getChildFile ("Jazz Two Five One.mid").copyFileTo (root.getChildFile ("Progression.mid")));

    const auto first = runRenderer ({ "Progression.mid" }, root);
    ASSERT_EQ (first.exitCode, 0) << first.output;
    EXPECT_TRUE (first.output.contains ("Progression - Cadenzium.mid")) << first.output;

    const auto second = runRenderer ({ "Progression.mid" }, root);
    ASSERT_EQ (second.exitCode, 0) << second.output;
    EXPECT_TRUE (second.output.contains ("Progression - Cadenzium2.mid")) << second.output;
    EXPECT_GT (contentsOf (root.getChildFile ("Progression - Cadenzium2.mid")).getSize(), 22u);
}

TEST_F (CadenziumRender, aSavedSongRendersTheChosenPhraseAndTheSeedFixesEveryDraw)
{
    // The state as a host keeps it, and as XML text.
    const auto binary = root.getChildFile ("song.state");
    const auto state = songState();
    binary.replaceWithData (state.getData(), state.getSize());
    const auto xml = root.getChildFile ("song.xml");
    xml.replaceWithText (juce::AudioProcessor::getXmlFromBinary (state.getData(), (int) state.getSize())->toString());

    const auto render = [&] (const juce::File& song, const char* seed, const char* phrase, const char* out)
    {
        const auto run = runRenderer ({ chords, "--state", song.getFullPathName(), "--seed", seed, "--phrase", phrase, "-o", out }, root);
        EXPECT_EQ (run.exitCode, 0) << run.output;
        return run.output;
    };

    EXPECT_FALSE (render (binary, "-5", "3", "a.mid").contains ("Rendered 0 notes"));
    render (xml, "-5", "3", "b.mid");
    render (binary, "6", "3", "c.mid");
    EXPECT_TRUE (render (binary, "-5", "1", "d.mid").contains ("Rendered 0 notes")) << "the first phrase is empty";

    EXPECT_GT (contentsOf (root.getChildFile ("a.mid")).getSize(), 22u);
    EXPECT_EQ (contentsOf (root.getChildFile ("a.mid")), contentsOf (root.getChildFile ("b.mid")));
    EXPECT_NE (contentsOf (root.getChildFile ("a.mid")), contentsOf (root.getChildFile ("c.mid")));
}

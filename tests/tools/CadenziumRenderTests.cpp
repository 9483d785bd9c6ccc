#include <source/processor/Cadenzium2AudioProcessor.h>
#include <source/render/CadenziumRenderer.h>
#include <source/render/ChordProgressionFile.h>
#include <source/render/RenderCommandLine.h>
#include <tests/support/TemporaryFolder.h>

#include <gtest/gtest.h>

namespace
{
struct Run
{
    int exitCode = -1;
    juce::String output;
};

/** Runs the built command-line renderer with its own HOME. */
Run runRenderer (const juce::StringArray& arguments, const juce::File& home)
{
    juce::StringArray command { "/usr/bin/env", "HOME=" + home.getFullPathName(), CADENZIUM_RENDER_PATH };
    command.addArray (arguments);

    juce::ChildProcess process;
    Run run;

    if (process.start (command, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr))
    {
        run.output = process.readAllProcessOutput();
        process.waitForProcessToFinish (60000);
        run.exitCode = (int) process.getExitCode();
    }

    return run;
}

juce::File examples() { return juce::File (CADENZIUM_CHORD_EXAMPLES); }

juce::MemoryBlock contentsOf (const juce::File& file)
{
    juce::MemoryBlock bytes;
    file.loadFileAsData (bytes);
    return bytes;
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

    tarn::Sequence phrase;

    for (int i = 0; i < 16; ++i)
    {
        tarn::SequenceNote note;
        note.number = i % 3;
        note.timestamp = i * 240;
        note.length = 200;
        note.chance = 50;
        note.velocityMin = 40;
        note.velocityMax = 120;
        note.octaveMax = 1;
        phrase.notes.push_back (note);
    }

    phrase.normalise();
    processor.getPhraseManager().setSequence (2, phrase, nullptr);

    juce::MemoryBlock state;
    processor.getStateInformation (state);
    return state;
}
} // namespace

TEST (RenderCommandLine, optionsParseAndMistakesAreExplained)
{
    const juce::File here ("/tmp/work");

    const auto ok = RenderCommandLine::parse ({ "chords.mid", "--phrase", "3", "--seed", "-42", "-o", "out.mid" }, here);
    EXPECT_TRUE (ok.error.isEmpty());
    EXPECT_EQ (std::tuple (ok.options.chordFile.getFullPathName(), ok.options.phrase, ok.options.seed.value_or (0), ok.options.outputFile.getFullPathName()),
               std::tuple (juce::String ("/tmp/work/chords.mid"), 2, (juce::int64) -42, juce::String ("/tmp/work/out.mid")));

    EXPECT_TRUE (RenderCommandLine::parse ({ "--help" }, here).options.showHelp);

    for (const auto& bad : std::vector<juce::StringArray> { {},
                                                            { "a.mid", "--phrase", "13" },
                                                            { "a.mid", "--phrase", "x" },
                                                            { "a.mid", "--seed" },
                                                            { "a.mid", "--seed", "1.5" },
                                                            { "a.mid", "b.mid" },
                                                            { "a.mid", "--preset", "p", "--state", "s" },
                                                            { "a.mid", "--loud" } })
        EXPECT_TRUE (RenderCommandLine::parse (bad, here).error.isNotEmpty()) << bad.joinIntoString (" ");
}

TEST (CadenziumRender, failuresAreExplainedWithANonZeroStatus)
{
    cadenzium::test::TemporaryFolder folder;
    const juce::File root (folder.string());

    const auto chords = examples().getChildFile ("Pop Four Chords.mid").getFullPathName();
    const auto bad = root.getChildFile ("bad.bpre");
    bad.replaceWithText ("<something_else/>");
    const std::tuple<juce::StringArray, int, juce::String> cases[] = {
        { { "--nonsense" }, 2, "" },
        { { "--help" }, 0, "" },
        { { root.getChildFile ("none.mid").getFullPathName() }, 1, ChordProgressionFile::missingFileMessage },
        { { chords, "--preset", bad.getFullPathName() }, 1, "Invalid preset" },
        { { chords, "--state", bad.getFullPathName() }, 1, "Invalid state" },
        { { chords, "-o", root.getChildFile ("no/such/folder/out.mid").getFullPathName() }, 1, CadenziumRenderer::cannotWriteMessage },
    };

    for (const auto& [arguments, exitCode, message] : cases)
    {
        const auto run = runRenderer (arguments, root);
        EXPECT_EQ (run.exitCode, exitCode) << arguments.joinIntoString (" ");
        EXPECT_TRUE (run.output.contains (message)) << run.output;
    }
}

TEST (CadenziumRender, theDefaultOutputIsNextToTheChordsUnderTheNextFreeName)
{
    cadenzium::test::TemporaryFolder folder;
    const juce::File root (folder.string());
    const auto chords = root.getChildFile ("Progression.mid");
    ASSERT_TRUE (examples().getChildFile ("Jazz Two Five One.mid").copyFileTo (chords));

    const auto first = runRenderer ({ chords.getFullPathName() }, root);
    ASSERT_EQ (first.exitCode, 0) << first.output;
    EXPECT_TRUE (first.output.contains ("Progression - Cadenzium.mid")) << first.output;

    const auto second = runRenderer ({ chords.getFullPathName() }, root);
    ASSERT_EQ (second.exitCode, 0) << second.output;
    EXPECT_TRUE (second.output.contains ("Progression - Cadenzium2.mid")) << second.output;
    EXPECT_GT (contentsOf (root.getChildFile ("Progression - Cadenzium2.mid")).getSize(), 22u);
}

TEST (CadenziumRender, aSavedSongRendersTheChosenPhraseAndTheSeedFixesEveryDraw)
{
    cadenzium::test::TemporaryFolder folder;
    const juce::File root (folder.string());
    const auto chords = examples().getChildFile ("Pop Four Chords.mid").getFullPathName();

    // The state as a host keeps it, and as XML text.
    const auto binary = root.getChildFile ("song.state");
    const auto state = songState();
    binary.replaceWithData (state.getData(), state.getSize());
    const auto xml = root.getChildFile ("song.xml");
    xml.replaceWithText (juce::AudioProcessor::getXmlFromBinary (state.getData(), (int) state.getSize())->toString());

    const auto render = [&] (const juce::File& song, const char* seed, const char* phrase, const char* out)
    {
        const auto run = runRenderer ({ chords, "--state", song.getFullPathName(), "--seed", seed, "--phrase", phrase, "-o", root.getChildFile (out).getFullPathName() }, root);
        EXPECT_EQ (run.exitCode, 0) << run.output;
        return run.output;
    };

    EXPECT_FALSE (render (binary, "5", "3", "a.mid").contains ("Rendered 0 notes"));
    render (xml, "5", "3", "b.mid");
    render (binary, "6", "3", "c.mid");
    EXPECT_TRUE (render (binary, "5", "1", "d.mid").contains ("Rendered 0 notes")) << "the first phrase is empty";

    EXPECT_GT (contentsOf (root.getChildFile ("a.mid")).getSize(), 22u);
    EXPECT_EQ (contentsOf (root.getChildFile ("a.mid")), contentsOf (root.getChildFile ("b.mid")));
    EXPECT_NE (contentsOf (root.getChildFile ("a.mid")), contentsOf (root.getChildFile ("c.mid")));
}

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
} // namespace

TEST (RenderCommandLine, optionsParseAndMistakesAreExplained)
{
    const juce::File here ("/tmp/work");

    const auto ok = RenderCommandLine::parse ({ "chords.mid", "--phrase", "3", "--seed", "-42", "-o", "out.mid" }, here);
    EXPECT_TRUE (ok.error.isEmpty());
    EXPECT_EQ (ok.options.chordFile.getFullPathName(), "/tmp/work/chords.mid");
    EXPECT_EQ (ok.options.phrase, 2);
    EXPECT_EQ (ok.options.seed, -42);
    EXPECT_EQ (ok.options.outputFile.getFullPathName(), "/tmp/work/out.mid");

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

    const auto usage = runRenderer ({ "--nonsense" }, root);
    EXPECT_EQ (usage.exitCode, 2);

    const auto missing = runRenderer ({ root.getChildFile ("none.mid").getFullPathName() }, root);
    EXPECT_EQ (missing.exitCode, 1);
    EXPECT_TRUE (missing.output.contains (ChordProgressionFile::missingFileMessage)) << missing.output;

    const auto notMidi = root.getChildFile ("notes.mid");
    notMidi.replaceWithText ("these are not notes");
    const auto unusable = runRenderer ({ notMidi.getFullPathName() }, root);
    EXPECT_EQ (unusable.exitCode, 1);
    EXPECT_TRUE (unusable.output.contains (ChordProgressionFile::noUsableNotesMessage)) << unusable.output;

    const auto badPreset = root.getChildFile ("bad.bpre");
    badPreset.replaceWithText ("<something_else/>");
    const auto preset = runRenderer ({ examples().getChildFile ("Pop Four Chords.mid").getFullPathName(), "--preset", badPreset.getFullPathName() }, root);
    EXPECT_EQ (preset.exitCode, 1);
    EXPECT_TRUE (preset.output.contains ("Invalid preset")) << preset.output;

    EXPECT_EQ (runRenderer ({ "--help" }, root).exitCode, 0);
}

TEST (CadenziumRender, theSameSeedWritesTheSameBytesAndTheDefaultNameIsNextToTheChords)
{
    cadenzium::test::TemporaryFolder folder;
    const juce::File root (folder.string());
    const auto chords = root.getChildFile ("Progression.mid");
    ASSERT_TRUE (examples().getChildFile ("Jazz Two Five One.mid").copyFileTo (chords));

    const auto first = runRenderer ({ chords.getFullPathName(), "--seed", "7" }, root);
    ASSERT_EQ (first.exitCode, 0) << first.output;
    EXPECT_TRUE (first.output.contains ("Progression - Cadenzium.mid")) << first.output;

    // The first file exists now, so the second render takes the next free name.
    const auto second = runRenderer ({ chords.getFullPathName(), "--seed", "7" }, root);
    ASSERT_EQ (second.exitCode, 0) << second.output;

    juce::MemoryBlock a, b;
    ASSERT_TRUE (root.getChildFile ("Progression - Cadenzium.mid").loadFileAsData (a));
    ASSERT_TRUE (root.getChildFile ("Progression - Cadenzium2.mid").loadFileAsData (b));
    EXPECT_GT (a.getSize(), 22u);
    EXPECT_EQ (a, b);
}

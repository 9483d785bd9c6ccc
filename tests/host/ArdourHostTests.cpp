#include "ArdourHarness.h"

#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tests/support/TemporaryFolder.h>

#include <gtest/gtest.h>

#include <set>

using namespace cadenzium::test;

namespace
{
juce::MemoryBlock stateOf (Cadenzium2AudioProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getStateInformation (block);
    return block;
}

/** A Fixed row on 50, and the highest held note an octave up: with C-E-G held the plug-in
    can only play 50 and 79, neither of which is played into it. */
RowList knownRows()
{
    CadenziumModifier fixed, highest;
    fixed.type = CadenziumModifier::fixed;
    fixed.value = 50;
    highest.type = CadenziumModifier::pitch;
    highest.value = CadenziumModifier::highestPitchValue;
    highest.octave = 1;
    return { fixed, highest };
}

/** One beat: the Fixed row on the beat, the highest note on the off-beat. */
tarn::Sequence knownPhrase()
{
    tarn::Sequence phrase;
    phrase.setLength (960);

    for (const auto& [row, tick] : { std::pair { 0, 0 }, std::pair { 1, 480 } })
    {
        tarn::SequenceNote note;
        note.number = row;
        note.timestamp = tick;
        note.length = 240;
        note.velocityMin = note.velocityMax = 100;
        phrase.notes.push_back (note);
    }

    phrase.normalise();
    return phrase;
}
} // namespace

TEST (ArdourHost, aSessionPlaysThePhraseThroughTheRowsAndKeepsThePluginState)
{
    if (! ArdourHarness::isAvailable())
        GTEST_SKIP() << "Ardour is not installed (scripts/setup installs it)";

    TemporaryFolder work ("cadenzium-ardour");
    ArdourHarness ardour (juce::File (CADENZIUM_VST_PATH), juce::File (CADENZIUM_ARDOUR_SCRIPTS), juce::File (work.string()));

    ASSERT_TRUE (ardour.prepare()) << ardour.getLog();
    ASSERT_TRUE (ardour.createSession()) << ardour.getLog();

    Cadenzium2AudioProcessor known;
    known.setRawParameterValueNotifyingHost (ParameterIds::swingAmount, 37.0f);
    known.getPhraseManager().setRows (knownRows());
    known.getPhraseManager().setSequence (0, knownPhrase(), nullptr);
    ASSERT_TRUE (ardour.setPluginChunk (stateOf (known))) << ardour.getLog();

    std::vector<RecordedNote> notes;
    ASSERT_TRUE (ardour.playChord ({ 60, 64, 67 }, 1500, notes)) << ardour.getLog();

    std::set<int> pitches;

    for (const auto& n : notes)
        pitches.insert (n.pitch);

    EXPECT_EQ (pitches, (std::set<int> { 50, 79 })) << ardour.getLog();

    // Saved with the session and read back on the next load.
    Cadenzium2AudioProcessor restored;
    const auto chunk = ardour.getPluginChunk();
    restored.setStateInformation (chunk.getData(), (int) chunk.getSize());
    EXPECT_FLOAT_EQ (restored.getRawParameterValue (ParameterIds::swingAmount), 37.0f);
    EXPECT_EQ (restored.getPhraseManager().getRows(), knownRows());
    EXPECT_EQ (restored.getPhrase (0).notes, knownPhrase().notes);
    EXPECT_EQ (restored.getPhrase (0).getLength(), 960);
}

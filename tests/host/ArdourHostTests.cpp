#include "ArdourHarness.h"

#include <tests/source/processor/PluginHarness.h>
#include <tests/source/processor/state/StateTestSupport.h>
#include <tests/support/TemporaryFolder.h>

#include <gtest/gtest.h>

#include <set>

using namespace cadenzium::test;

TEST (ArdourHost, aSessionPlaysThePhraseThroughTheRowsAndKeepsThePluginState)
{
    if (! ArdourHarness::isAvailable())
        GTEST_SKIP() << "Ardour is not installed (scripts/setup installs it)";

    TemporaryFolder work ("cadenzium-ardour");
    ArdourHarness ardour (juce::File (CADENZIUM_VST_PATH), juce::File (CADENZIUM_ARDOUR_SCRIPTS), juce::File (work.string()));
    ASSERT_TRUE (ardour.prepare()) << ardour.getLog();
    ASSERT_TRUE (ardour.createSession()) << ardour.getLog();

    // A Fixed row on 50 on the beat, the highest held note an octave up on the off-beat: with
    // C-E-G held the plug-in can only play 50 and 79, neither of which is played into it.
    const RowList rows { makeRow (CadenziumModifier::fixed, 50), makeRow (CadenziumModifier::pitch, CadenziumModifier::highestPitchValue, 1, 0, 1) };
    const auto phrase = makePhrase ({ { 0, 0, 240 }, { 1, 480, 240 } }, 960);

    Cadenzium2AudioProcessor known;
    known.setRawParameterValueNotifyingHost (ParameterIds::swingAmount, 37.0f);
    known.getPhraseManager().setRows (rows);
    known.getPhraseManager().setSequence (0, phrase, nullptr);
    ASSERT_TRUE (ardour.setPluginChunk (stateOf (known))) << ardour.getLog();

    std::vector<RecordedNote> notes;
    ASSERT_TRUE (ardour.playChord ({ 60, 64, 67 }, 1500, notes)) << ardour.getLog();

    std::set<int> pitches;
    for (const auto& n : notes)
        pitches.insert (n.pitch);

    EXPECT_EQ (pitches, (std::set<int> { 50, 79 })) << ardour.getLog();

    // Saved with the session and read back on the next load.
    Cadenzium2AudioProcessor restored;
    restore (restored, ardour.getPluginChunk());
    EXPECT_FLOAT_EQ (restored.getRawParameterValue (ParameterIds::swingAmount), 37.0f);
    EXPECT_EQ (restored.getPhraseManager().getRows(), rows);
    EXPECT_EQ (restored.getPhrase (0).notes, phrase.notes);
    EXPECT_EQ (restored.getPhrase (0).getLength(), 960);
}

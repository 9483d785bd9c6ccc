#include "PluginHarness.h"

#include <tarn/util/RandomSource.h>
#include <tests/support/TestSeed.h>

#include <gtest/gtest.h>

#include <set>

using namespace cadenzium::test;

namespace
{
namespace ids = ParameterIds;
using Pitches = std::vector<int>;

/** Fixed rows on these pitches, each struck once per beat. */
void playFixedPitches (PluginHarness& host, const std::vector<int>& pitches, int velocity = 100)
{
    RowList rows;
    std::vector<PhraseNote> notes;
    for (size_t i = 0; i < pitches.size(); ++i)
    {
        rows.push_back (makeRow (CadenziumModifier::fixed, pitches[i]));
        notes.push_back ({ (int) i, 0, 240, velocity });
    }
    host.setRows (rows);
    host.setPhrase (0, makePhrase (notes, 960));
}

std::vector<int> velocitiesOf (const std::vector<Event>& events)
{
    std::vector<int> velocities;
    for (const auto& e : PluginHarness::noteOns (events))
        velocities.push_back (e.data2);
    return velocities;
}

} // namespace

TEST (PipelineOutput, keyLockMovesNotesIntoTheKeyAndEndsThemThereAfterAKeyChange)
{
    PluginHarness host;
    host.set (ids::lockToKey, 1.0f);
    playFixedPitches (host, { 61, 66 });

    const auto cMajor = host.block();
    EXPECT_EQ (PluginHarness::pitchesOf (PluginHarness::noteOns (cMajor)), (Pitches { 62, 67 }));

    // D major holds 61 and 66: the sounding 62 and 67 still end, at the change, and the
    // next pass sounds 61 and 66 and ends them there.
    host.processor.setKeySignature (KeySignature (2, *Scales::find ("Major")));
    const auto changed = host.block();
    EXPECT_EQ (changed, (std::vector<Event> { off (62, (int) host.lastBlockStart), off (67, (int) host.lastBlockStart) }));
    EXPECT_EQ (PluginHarness::pitchesOf (PluginHarness::noteOns (host.playUntilTick (960 + 10))), (Pitches { 61, 66 }));
    host.playUntilTick (960 + 300);
    EXPECT_EQ (host.counter.sounding(), 0);

    playFixedPitches (host, { 67, 68, 63 });
    host.processor.setKeySignature (KeySignature (2, *Scales::find ("Octaves")));
    EXPECT_EQ (PluginHarness::pitchesOf (PluginHarness::noteOns (host.playUntilTick (2 * 960 + 10))), (Pitches { 62, 62, 74 }));

    host.playHead.playing = false;
    host.block();
    EXPECT_EQ (host.counter.sounding(), 0);
}

TEST (PipelineOutput, velocityStagesKeepTheirBounds)
{
    const auto seed = testSeed (4242);
    SCOPED_TRACE ("seed " + std::to_string (seed));
    tarn::RandomSource::threadGenerator().setSeed (seed);

    PluginHarness host;
    playFixedPitches (host, { 60 }, 127);

    // The scaler's own edges (an inverted range) are checked on the scaler.
    host.set (ids::velocityScaleLow, 40.0f);
    host.set (ids::velocityScaleHigh, 40.0f);
    EXPECT_EQ (velocitiesOf (host.playUntilTick (10)), std::vector<int> { 40 });

    // Randomised around a soft note: within 1..15 (a note-on never becomes a note-off), and
    // not the same every time.
    host.set (ids::velocityScaleLow, 0.0f);
    host.set (ids::velocityScaleHigh, 127.0f);
    playFixedPitches (host, { 60 }, 5);
    host.set (ids::randomVelocity, 10.0f);
    const auto velocities = velocitiesOf (host.playUntilTick (40 * 960));
    ASSERT_GE (velocities.size(), 30u);
    EXPECT_GE (*std::min_element (velocities.begin(), velocities.end()), 1);
    EXPECT_LE (*std::max_element (velocities.begin(), velocities.end()), 15);
    EXPECT_GT (std::set<int> (velocities.begin(), velocities.end()).size(), 5u);
}

TEST (PipelineOutput, theOutputRangeKeepsLowUpToHighAndStillEndsNotesWhenNarrowed)
{
    PluginHarness host;
    host.set (ids::noteOutputRangeLow, 36.0f);
    host.set (ids::noteOutputRangeHigh, 48.0f);
    playFixedPitches (host, { 35, 36, 47, 48 });
    EXPECT_EQ (PluginHarness::pitchesOf (PluginHarness::noteOns (host.block())), (Pitches { 36, 47 }));

    // Narrowed while both sound: their note-offs still come, nothing new outside starts.
    host.set (ids::noteOutputRangeLow, 40.0f);
    host.playUntilTick (960 + 10);
    EXPECT_EQ (host.counter.get (1, 36), 0);
    EXPECT_EQ (host.counter.get (1, 47), 1);

    // Either bound moved past the other takes it along.
    host.set (ids::noteOutputRangeLow, 80.0f);
    EXPECT_FLOAT_EQ (host.processor.getRawParameterValue (ids::noteOutputRangeHigh), 80.0f);
    host.set (ids::noteOutputRangeHigh, 20.0f);
    EXPECT_FLOAT_EQ (host.processor.getRawParameterValue (ids::noteOutputRangeLow), 20.0f);
}

TEST (PipelineOutput, swingMovesTheOffBeatOnlyWhenItIsOn)
{
    PluginHarness host;
    host.setRows ({ makeRow (CadenziumModifier::fixed, 60) });
    host.setPhrase (0, makePhrase ({ { 0, 480, 120 } }, 960));

    // Amount 0 leaves the half beat where it is; 100 on the quarter grid moves it to three
    // quarters of the beat.
    const auto straight = PluginHarness::noteOns (host.playUntilTick (960));
    ASSERT_EQ (straight.size(), 1u);
    EXPECT_EQ (straight[0].sample, 480 * PluginHarness::samplesPerTick);

    host.set (ids::swingAmount, 100.0f);
    host.processor.setSwingGridChoice (0);
    const auto swung = PluginHarness::noteOns (host.playUntilTick (2 * 960));
    ASSERT_EQ (swung.size(), 1u);
    EXPECT_EQ (swung[0].sample, (960 + 720) * PluginHarness::samplesPerTick);

    // Swing switched off while a delayed note waits: it still comes out, and ends.
    EXPECT_TRUE (PluginHarness::noteOns (host.playUntilTick (2 * 960 + 500)).empty()) << "the third pass's note waits";
    host.set (ids::swingAmount, 0.0f);
    EXPECT_EQ (PluginHarness::noteOns (host.playUntilTick (3 * 960)).size(), 1u);
    EXPECT_EQ (host.counter.sounding(), 0);
    EXPECT_EQ (PluginHarness::noteOns (host.playUntilTick (4 * 960)).size(), 1u);
}

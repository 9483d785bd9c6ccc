#include "PluginHarness.h"

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
std::vector<int> pitchesOn (const std::vector<Event>& events, int channel)
{
    std::vector<Event> onChannel;
    std::copy_if (events.begin(), events.end(), std::back_inserter (onChannel), [channel] (auto& e)
                  { return e.isNoteOn() && e.channel == channel; });
    return PluginHarness::pitchesOf (onChannel);
}

using Pitches = std::vector<int>;
namespace ids = ParameterIds;
} // namespace

TEST (PipelineRows, theHeldChordBecomesEachRowsPitches)
{
    PluginHarness host;
    host.set (ids::inputFill, 0.0f);

    // Each row plays on its own channel, so the output says which row made which note.
    host.setRows ({ makeRow (CadenziumModifier::pitch, 1, 1),
                    makeRow (CadenziumModifier::pitch, 16, 2),
                    makeRow (CadenziumModifier::pitch, 3, 3),
                    makeRow (CadenziumModifier::velocity, 8, 4),
                    makeRow (CadenziumModifier::timing, 0, 5),
                    makeRow (CadenziumModifier::fixed, 60, 6, 2, -1),
                    makeRow (CadenziumModifier::random, 0, 7),
                    makeRow (CadenziumModifier::all, 0, 8) });

    std::vector<PhraseNote> notes { { 0, 480, 240, 100, 5 } }; // a per-note offset of +5 on the Pitch 2 row
    for (int row = 0; row < 8; ++row)
        notes.push_back ({ row, 0, 240 });
    host.setPhrase (0, makePhrase (notes, 960));

    // G first, then C, then E (the loudest).
    const auto first = host.block ({ on (67, 80, 0), on (60, 40, 0), on (64, 110, 0) });
    // Channel 3: no fourth note without fill; channel 6: 60 + 2 - 12.
    const Pitches expected[] = { { 64 }, { 67 }, {}, { 64 }, { 67 }, { 50 } };
    for (int channel = 1; channel <= 6; ++channel)
        EXPECT_EQ (pitchesOn (first, channel), expected[channel - 1]) << "channel " << channel;
    ASSERT_EQ (pitchesOn (first, 7).size(), 1u);
    EXPECT_TRUE (juce::Array<int> ({ 60, 64, 67 }).contains (pitchesOn (first, 7)[0]));
    EXPECT_EQ (pitchesOn (first, 8), (Pitches { 60, 64, 67 }));

    const auto offsetNote = host.playUntilTick (720);
    EXPECT_EQ (pitchesOn (offsetNote, 1), Pitches { 69 });

    // Fill extends the chord upward: the fourth note is the C above G.
    host.set (ids::inputFill, 1.0f);
    const auto secondPass = host.playUntilTick (960 + 240);
    EXPECT_EQ (pitchesOn (secondPass, 3), Pitches { 72 });

    // Velocity passthrough: the output takes the velocity the held note was played with.
    host.set (ids::velocityPassthrough, 1.0f);
    const auto thirdPass = host.playUntilTick (2 * 960 + 240);
    for (const auto& e : thirdPass)
        EXPECT_TRUE (! e.isNoteOn() || e.channel != 4 || e.data2 == 110) << e;

    // A Fixed row needs no chord; every note that started has ended once the chord is gone.
    host.block ({ off (60, 0), off (64, 0), off (67, 0) });
    EXPECT_EQ (pitchesOn (host.playUntilTick (3 * 960 + 240), 6), Pitches { 50 });
    host.playHead.playing = false;
    host.block();
    EXPECT_EQ (host.counter.sounding(), 0);
}

TEST (PipelineKeyswitches, rangeTwoMakesNote26SelectSlotTwoWithoutReachingTheChord)
{
    PluginHarness host;
    host.set (ids::keyswitchRetrigger, 1.0f); // the selected phrase starts from its beginning at the press
    host.setRows ({ makeRow (CadenziumModifier::pitch, 0) });
    host.setPhrase (2, makePhrase ({ { 0, 0, 3840 } }));

    host.blocks (4);
    const auto pressed = host.block ({ on (26, 100, 100), on (36, 90, 120) });

    EXPECT_EQ (host.processor.getPlayingPhrase(), 2);
    EXPECT_EQ (host.processor.getRequestedPhrase(), 2); // so the next block does not switch back

    ASSERT_EQ (host.processor.getHeldNotesSnapshot().size(), 1);
    EXPECT_EQ (host.processor.getHeldNotesSnapshot()[0].note, 36);

    // The selected phrase starts at the press; the keyswitch itself never reaches the output.
    EXPECT_EQ (pressed, (std::vector<Event> { on (36, 100, (int) host.lastBlockStart + 100) }));

    // Releasing the chord leaves the row note to its phrase note's end.
    host.block ({ off (26, 10), off (36, 20) });
    EXPECT_TRUE (host.processor.getHeldNotesSnapshot().isEmpty());
    EXPECT_EQ (host.counter.get (1, 36), 1);
}

TEST (PipelineKeyswitches, theKeyPressedLastInABlockDecidesAndTheOldPhraseEndsAtTheFirstPress)
{
    PluginHarness host;
    host.set (ids::keyswitchRetrigger, 1.0f);
    host.setRows ({ makeRow (CadenziumModifier::fixed, 40), makeRow (CadenziumModifier::fixed, 50), makeRow (CadenziumModifier::fixed, 55) });
    host.setPhrase (0, makePhrase ({ { 0, 0, 3840 } }));
    host.setPhrase (3, makePhrase ({ { 1, 0, 3840 } }));
    host.setPhrase (5, makePhrase ({ { 2, 0, 3840 } }));

    host.blocks (3);
    ASSERT_EQ (host.counter.get (1, 40), 1);

    const auto switched = host.block ({ on (27, 100, 100), on (29, 100, 300) });
    EXPECT_EQ (host.processor.getPlayingPhrase(), 5);
    EXPECT_EQ (switched, (std::vector<Event> { off (40, (int) host.lastBlockStart + 100), on (55, 100, (int) host.lastBlockStart + 300) }));

    // With hold, the phrase sounds while its key is down and ends at the release, even when
    // keyswitching is switched off in between.
    host.set (ids::keyswitchHold, 1.0f);
    host.block ({ off (27, 0), off (29, 0) });
    host.block ({ on (29, 100, 0) });
    host.block();
    ASSERT_EQ (host.counter.get (1, 55), 1);
    host.set (ids::keyswitchEnable, 0.0f);
    host.block ({ off (29, 50) });
    host.set (ids::keyswitchEnable, 1.0f);
    EXPECT_TRUE (PluginHarness::noteOns (host.blocks (200)).empty()) << "the gate stayed open";
    EXPECT_EQ (host.counter.sounding(), 0);
}

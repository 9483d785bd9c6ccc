#include "PluginHarness.h"

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
namespace ids = ParameterIds;
using Pitches = std::vector<int>;

Pitches heldPitches (const Cadenzium2AudioProcessor& processor)
{
    Pitches pitches;
    for (const auto& n : processor.getHeldNotesSnapshot())
        pitches.push_back (n.note);
    std::sort (pitches.begin(), pitches.end());
    return pitches;
}

/** The samples at which the phrase's note (a Fixed row on 60) started. */
std::vector<int> phraseStarts (const std::vector<Event>& events)
{
    std::vector<int> samples;
    for (const auto& e : events)
        if (e.isNoteOn() && e.data1 == 60)
            samples.push_back (e.sample);
    return samples;
}

using Samples = std::vector<int>;
} // namespace

TEST (PipelineInput, theLatchKeepsTheChordUntilANewInputReplacesIt)
{
    PluginHarness host;
    host.set (ids::inputLatch, 1.0f);
    host.setRows ({ makeRow (CadenziumModifier::all) });
    host.setPhrase (0, makePhrase ({ { 0, 0, 240 }, { 0, 480, 240 } }, 960));

    host.block ({ on (60, 100, 0), on (64, 100, 10), on (67, 100, 20) });
    host.block ({ off (60, 0), off (64, 5), off (67, 10) });
    EXPECT_EQ (heldPitches (host.processor), (Pitches { 60, 64, 67 }));

    // The rows keep sounding C-E-G after the keys are up.
    EXPECT_EQ (PluginHarness::pitchesOf (PluginHarness::noteOns (host.playUntilTick (480 + 10))), (Pitches { 60, 64, 67 }));

    // A new note while no key is down replaces the chord; a note added while a key is
    // still down joins it.
    host.block ({ on (62, 100, 250) });
    EXPECT_EQ (heldPitches (host.processor), Pitches { 62 });
    host.block ({ on (65, 100, 0) });
    host.block ({ off (62, 0), off (65, 0) });
    EXPECT_EQ (heldPitches (host.processor), (Pitches { 62, 65 }));

    // Switching the latch off lets the chord go at the next block.
    host.set (ids::inputLatch, 0.0f);
    host.block();
    EXPECT_TRUE (heldPitches (host.processor).empty());

    // A key released while the latch was off must not freeze the next latched chord.
    host.set (ids::inputLatch, 1.0f);
    host.block ({ on (48, 100, 0) });
    host.set (ids::inputLatch, 0.0f);
    host.block ({ off (48, 0) });
    host.set (ids::inputLatch, 1.0f);
    host.block ({ on (52, 100, 0) });
    host.block ({ off (52, 0) });
    host.block ({ on (55, 100, 0) });
    EXPECT_EQ (heldPitches (host.processor), Pitches { 55 });
}

TEST (PipelineInput, retriggerRestartsThePhraseAtTheTriggeringNote)
{
    PluginHarness host;
    host.setRows ({ makeRow (CadenziumModifier::fixed, 60) });
    host.setPhrase (0, makePhrase ({ { 0, 0, 240 } }));

    // "Note On": a note at sample 100 moves the phrase's start to 100 * 120 / (60 * 48000)
    // quarter notes after the block's position, so its first note sounds there.
    host.set (ids::inputRetrigger, 2.0f);
    host.playUntilTick (1000);
    auto start = (int) host.samplesPlayed;
    EXPECT_EQ (phraseStarts (host.block ({ on (48, 100, 100) })), Samples { start + 100 });
    host.block ({ off (48, 0) });

    // "All Notes Off": the first note after a full release retriggers, legato playing never.
    host.set (ids::inputRetrigger, 4.0f);
    host.playUntilTick (1500);
    const auto legatoStart = (int) host.samplesPlayed;
    const auto legato = host.block ({ on (52, 100, 0) });
    std::vector<Event> played;

    for (const auto& input : std::vector<std::vector<Event>> { { on (55, 100, 0) }, { off (52, 0) }, { on (57, 100, 0) }, { off (55, 0), off (57, 0) } })
        for (const auto& e : host.block (input))
            played.push_back (e);

    EXPECT_EQ (phraseStarts (legato), Samples { legatoStart });
    EXPECT_TRUE (phraseStarts (played).empty());

    host.playUntilTick (2500);
    start = (int) host.samplesPlayed;
    EXPECT_EQ (phraseStarts (host.block ({ on (50, 100, 200) })), Samples { start + 200 });
}

TEST (PipelineInput, passedThroughNotesEndWhereTheyWentWhateverChangedMeanwhile)
{
    PluginHarness host;
    host.set (ids::notePassthrough, 1.0f);
    host.set (ids::notePassthroughScale, 1.0f);
    host.set (ids::lockToKey, 1.0f);
    host.set (ids::inputCcPassthrough, 1.0f);
    host.setRows ({ makeRow (CadenziumModifier::pitch, 0, 2) });
    host.setPhrase (0, makePhrase ({ { 0, 0, 3840 } }));

    // C sharp is passed through as D in C major; it also drives the row (on channel 2).
    const auto pressed = host.block ({ on (61, 90, 30), cc (1, 64, 10), { 40, 0xe0, 1, 0, 64 } });
    EXPECT_EQ (pressed, (std::vector<Event> { on (62, 100, 0, 2), cc (1, 64, 10), on (62, 90, 30) }));

    // Neither passthrough nor the lock is on any more; the key still ends the D it started.
    host.set (ids::notePassthrough, 0.0f);
    host.set (ids::lockToKey, 0.0f);
    host.set (ids::inputCcPassthrough, 0.0f);
    const auto released = host.block ({ off (61, 40), cc (1, 0, 50) });
    EXPECT_EQ (released, (std::vector<Event> { off (62, (int) host.lastBlockStart, 2), off (62, (int) host.lastBlockStart + 40) }));

    // A key passed through while keyswitches were off, then pressed and let go again on the
    // screen keyboard (the same channel) once it is a keyswitch: the host's release still
    // ends the passed note, although the table took the screen's press in its place.
    host.set (ids::notePassthrough, 1.0f);
    host.set (ids::keyswitchEnable, 0.0f);
    const auto passed = host.block ({ on (26, 70, 10) });
    EXPECT_EQ (passed, (std::vector<Event> { on (26, 70, (int) host.lastBlockStart + 10) }));
    host.set (ids::keyswitchEnable, 1.0f);
    host.processor.getInputKeyboardState().noteOn (1, 26, 0.5f);
    host.block ({});
    host.processor.getInputKeyboardState().noteOff (1, 26, 0.0f);
    host.block ({});
    const auto hostRelease = host.block ({ off (26, 20) });
    EXPECT_NE (std::find (hostRelease.begin(), hostRelease.end(), off (26, (int) host.lastBlockStart + 20)), hostRelease.end())
        << "the passed-through key never ended";

    // Both keyboards pass the same key through: each release ends one of the two notes, so a
    // synth that stacks voices is left with none.
    host.set (ids::keyswitchEnable, 0.0f);
    int sounding = 0;
    const auto hear = [&sounding] (const std::vector<Event>& events)
    {
        for (const auto& e : events)
            if (e.channel == 1 && e.data1 == 40)
                sounding += e.isNoteOn() ? 1 : (e.isNoteOff() ? -1 : 0);
    };
    hear (host.block ({ on (40, 90, 0) }));
    host.processor.getInputKeyboardState().noteOn (1, 40, 0.5f);
    hear (host.block ({}));
    host.processor.getInputKeyboardState().noteOff (1, 40, 0.0f);
    hear (host.block ({}));
    EXPECT_EQ (sounding, 1) << "the host's key still sounds";
    hear (host.block ({ off (40, 0) }));
    EXPECT_EQ (sounding, 0) << "a passed note left sounding";
}

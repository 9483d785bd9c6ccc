#include "PluginHarness.h"

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
namespace ids = ParameterIds;

/** Fixed rows on 60 and 72; slot 0 plays 60 every beat, for most of the beat. */
void playOneLongNotePerBeat (PluginHarness& host)
{
    host.setRows ({ makeRow (CadenziumModifier::fixed, 60), makeRow (CadenziumModifier::fixed, 72) });
    host.setPhrase (0, makePhrase ({ { 0, 0, 900 } }, 960));
}

juce::String logText (Cadenzium2AudioProcessor& processor)
{
    return processor.getLogger().getLogFile().loadFileAsString();
}
} // namespace

TEST (PipelineControl, panicSendsItsMessagesAloneAndThePhrasePlaysOnCleanly)
{
    PluginHarness host;
    playOneLongNotePerBeat (host);
    host.block ({ on (64, 100, 0) });
    ASSERT_EQ (host.counter.get (1, 60), 1);

    host.processor.requestPanic();
    const auto panic = host.block ({ on (65, 100, 10) });
    const auto at = (int) host.lastBlockStart;

    // Per channel: every note's note-off, then all notes off (for stacked strikes).
    ASSERT_EQ ((int) panic.size(), 2064);
    EXPECT_EQ (panic[128], cc (123, 0, at, 1));
    EXPECT_EQ (panic[129], off (0, at, 2));
    EXPECT_EQ (panic.back(), cc (123, 0, at, 16));

    for (const auto& e : panic)
        EXPECT_TRUE (e.sample == at && (e.isNoteOff() || e.kind == 0xb0)) << e;

    // The chord was forgotten with everything else: the Fixed row plays on at the next beat.
    EXPECT_TRUE (host.processor.getHeldNotesSnapshot().isEmpty());
    host.counter = NoteCounter();
    EXPECT_EQ (PluginHarness::noteOns (host.playUntilTick (960 + 10)), (std::vector<Event> { on (60, 100, 960 * PluginHarness::samplesPerTick) }));
}

TEST (PipelineControl, aControllerPreviewBlockCarriesOnlyNoteOffsAndThePreview)
{
    PluginHarness host;
    playOneLongNotePerBeat (host);
    host.blocks (2);

    host.processor.sendControllerPreview (2, 74, 100);
    const auto start = (int) host.samplesPlayed;
    const auto preview = host.block ({ on (64, 100, 10), off (64, 20), { 30, 0xe0, 1, 0, 70 } });
    EXPECT_EQ (preview, (std::vector<Event> { off (60, start), cc (74, 100, start, 2), off (64, start + 20) }));

    // A pitch-bend lane's controller -1 would go out as CC 127, "Poly Mode On": nothing is sent.
    host.processor.sendControllerPreview (1, -1, 64);
    EXPECT_TRUE (host.block().empty());
    host.processor.sendControllerPreview (1, 128, 64);
    EXPECT_TRUE (host.block().empty());
}

TEST (PipelineControl, theInternalClockPlaysWhileTheHostIsStoppedAndEveryStopEndsTheNotes)
{
    PluginHarness host;
    playOneLongNotePerBeat (host);

    // The host plays, then stops in the middle of a note: the note ends in that block.
    host.blocks (3);
    ASSERT_EQ (host.counter.sounding(), 1);
    host.playHead.playing = false;
    auto start = (int) host.samplesPlayed;
    EXPECT_EQ (host.block(), (std::vector<Event> { off (60, start) }));

    // With only the host's transport nothing plays while it is stopped.
    EXPECT_TRUE (host.blocks (60).empty());

    // The internal clock plays at the host's tempo: a beat every 24000 samples.
    host.set (ids::dawTransportOnly, 0.0f);
    const auto clocked = PluginHarness::noteOns (host.blocks (100));
    ASSERT_GE (clocked.size(), 2u);
    EXPECT_EQ (clocked[1].sample - clocked[0].sample, 960 * PluginHarness::samplesPerTick);
    EXPECT_TRUE (host.processor.getPipeline().getTransport().isInternalClockRunning());

    // Switching back to the host's transport stops the clock and ends the note that sounds.
    for (int i = 0; i < 100 && host.counter.sounding() == 0; ++i)
        host.block();

    ASSERT_EQ (host.counter.sounding(), 1);
    host.set (ids::dawTransportOnly, 1.0f);
    start = (int) host.samplesPlayed;
    EXPECT_EQ (host.block(), (std::vector<Event> { off (60, start) }));
    EXPECT_FALSE (host.processor.getPipeline().getTransport().isInternalClockRunning());

    // A host that reports no tempo plays nothing either.
    host.playHead.playing = true;
    host.playHead.hasTempo = false;
    EXPECT_TRUE (host.blocks (100).empty());
}

TEST (PipelineControl, aRequestedOrEditedPlayingPhraseStartsFromSilence)
{
    PluginHarness host;
    playOneLongNotePerBeat (host);
    host.setPhrase (1, makePhrase ({ { 1, 0, 900 } }, 960));
    host.blocks (2);
    ASSERT_EQ (host.counter.get (1, 60), 1);

    host.processor.requestPhrase (1);
    auto start = (int) host.samplesPlayed;
    EXPECT_EQ (host.block(), (std::vector<Event> { off (60, start) }));
    EXPECT_EQ (host.processor.getPlayingPhrase(), 1);
    EXPECT_EQ (PluginHarness::noteOns (host.playUntilTick (960 + 10)), (std::vector<Event> { on (72, 100, 960 * PluginHarness::samplesPerTick) }));

    // Editing the phrase that plays ends what it sounds at the next block.
    host.setPhrase (1, makePhrase ({ { 1, 0, 800 } }, 960));
    start = (int) host.samplesPlayed;
    EXPECT_EQ (host.block(), (std::vector<Event> { off (72, start) }));

    // Editing another slot changes nothing that sounds.
    host.playUntilTick (2 * 960 + 10);
    ASSERT_EQ (host.counter.get (1, 72), 1);
    host.setPhrase (3, makePhrase ({ { 0, 0, 100 } }, 960));
    EXPECT_TRUE (host.block().empty());
}

TEST (PipelineControl, phraseSwitchesAreLoggedAndAnnouncedFromTheMessageThread)
{
    PluginHarness host;
    playOneLongNotePerBeat (host);
    host.setPhrase (4, makePhrase ({ { 0, 0, 100 } }, 960));
    auto* internal = host.processor.getParameterState().getParameter (ids::internal);
    host.processor.flushAudioThreadNotices();
    const auto before = logText (host.processor);
    const auto internalBefore = internal->getValue();

    for (int i = 0; i < 10; ++i)
    {
        host.block ({ on (28, 100, 10), off (28, 20) });
        host.block ({ on (24, 100, 10), off (24, 20) });
    }

    // The blocks wrote nothing and told the host nothing; the message thread does both.
    EXPECT_EQ (logText (host.processor), before);
    EXPECT_FLOAT_EQ (internal->getValue(), internalBefore);

    host.processor.flushAudioThreadNotices();
    EXPECT_TRUE (logText (host.processor).substring (before.length()).contains ("Changing sequence number"));
    EXPECT_GT (internal->getValue(), internalBefore);
}

TEST (Bypass, theSwitchAndTheHostsBypassEndWhatSoundsOnceThenPassTheInputUnchangedAndPlayingResumesAtTheNextBeat)
{
    for (const bool byTheHost : { false, true })
    {
        SCOPED_TRACE (byTheHost ? "the host's bypass" : "the product's switch");
        PluginHarness host;
        host.setRows ({ makeRow (CadenziumModifier::fixed, 60) });
        host.setPhrase (0, makePhrase ({ { 0, 0, 900 } }, 960));
        host.block ({ on (64, 100, 0) });
        ASSERT_EQ (host.counter.get (1, 60), 1);

        if (! byTheHost)
            host.set (ParameterIds::enable, 0.0f);

        const auto bypassed = [&] (const std::vector<Event>& input)
        { return byTheHost ? host.bypassedBlock (input) : host.block (input); };

        // The first bypassed block ends the phrase's note and passes the input on; later
        // ones only pass the input, the whole beat through.
        auto start = (int) host.samplesPlayed;
        EXPECT_EQ (bypassed ({ on (67, 90, 5) }), (std::vector<Event> { off (60, start), on (67, 90, start + 5) }));

        for (int i = 0; i < 50; ++i)
        {
            start = (int) host.samplesPlayed;
            EXPECT_EQ (bypassed ({ cc (7, 10, 2), off (64, 3) }), (std::vector<Event> { cc (7, 10, start + 2), off (64, start + 3) }));
        }

        // The host's bypass is its own: the product's switch stays on. Playing resumes from
        // the next beat with the chord released during the bypass gone.
        EXPECT_EQ (host.processor.getIntParameterValue (ParameterIds::enable), byTheHost ? 1 : 0);
        host.set (ParameterIds::enable, 1.0f);
        start = (int) host.samplesPlayed;
        EXPECT_EQ (host.block ({ off (67, 1) }), (std::vector<Event> { off (67, start + 1) }));
        EXPECT_EQ (PluginHarness::pitchesOf (PluginHarness::noteOns (host.playUntilTick (2 * 960 + 10))), std::vector<int> { 60 });
    }
}

TEST (Bypass, aKeyPressedWhileTheHostBypassesIsReleasedAtThePitchItSoundedAt)
{
    // Key lock on in C major moves C#4 to D4 when it passes through; the key went out raw
    // during the bypass, so its release after the bypass ends C#4.
    PluginHarness host;
    host.set (ParameterIds::notePassthrough, 1.0f);
    host.set (ParameterIds::notePassthroughScale, 1.0f);
    host.set (ParameterIds::lockToKey, 1.0f);
    host.block();

    host.bypassedBlock ({ on (61, 100, 3) });
    host.block ({ off (61, 4) });
    EXPECT_EQ (host.counter.sounding(), 0);
}

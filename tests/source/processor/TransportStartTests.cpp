#include "PluginHarness.h"

#include <tests/host/KnownSong.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
/** A phrase note as heard: its pitch and its tick on the host's timeline. */
using Heard = std::pair<int, int>;

/** What one pass of the known song plays from `startTick` on, with C-E-G held: 50 on every
    beat, 79 on every off-beat. */
std::vector<Heard> passFrom (int startTick)
{
    std::vector<Heard> pass;

    for (int tick = startTick; tick < startTick + 960; ++tick)
        if (tick % 480 == 0)
            pass.push_back ({ tick % 960 == 0 ? 50 : 79, tick });

    return pass;
}

/** The note-ons of `events` from the block that began at `startSample` on, as ticks of the
    host's timeline (a tick is 25 samples), up to `endTick`. */
std::vector<Heard> heardFrom (const std::vector<Event>& events, juce::int64 startSample, int startTick, int endTick)
{
    std::vector<Heard> heard;

    for (const auto& e : PluginHarness::noteOns (events))
    {
        const auto exact = startTick + (double) (e.sample - startSample) / PluginHarness::samplesPerTick;
        const auto tick = (int) std::lround (exact);

        if (tick < endTick)
            heard.push_back ({ e.data1, tick });
    }

    return heard;
}

} // namespace

TEST (TransportStart, theFirstPassPlaysEveryNoteFromTheStartWhenTheTransportStartsOrANewInstancePlaysAtOnce)
{
    struct Case
    {
        int blockSize, startTick;
        bool playingFromTheFirstBlock; // the song arrives as the host restores its project, the transport already runs
    };

    std::vector<Case> cases;
    for (int blockSize : { 64, 441, 512, 1024, 4096 })
        for (int startTick : { 0, 1, 240, 479, 480, 481, 959, 2 * 960 + 300 })
            cases.push_back ({ blockSize, startTick, false });
    for (int blockSize : { 64, 512, 1024 })
        for (int startTick : { 0, 480, 700 })
            cases.push_back ({ blockSize, startTick, true });

    const std::vector<Event> chord { on (60, 100, 0), on (64, 100, 0), on (67, 100, 0) };

    for (const auto& [blockSize, startTick, playingFromTheFirstBlock] : cases)
    {
        SCOPED_TRACE ("blocks of " + std::to_string (blockSize) + ", start at tick " + std::to_string (startTick) + (playingFromTheFirstBlock ? ", restored playing" : ""));
        PluginHarness host (blockSize);
        host.processor.setNonRealtime (false); // every next pass comes from the render worker, whenever it is ready
        host.playHead.ppq = startTick / 960.0;
        std::vector<Event> played;

        if (playingFromTheFirstBlock)
        {
            restore (host.processor, KnownSong().state());
            played = host.block (chord);
        }
        else
        {
            // The chord is held while the host is stopped; then it plays from startTick.
            KnownSong().applyTo (host.processor);
            host.playHead.playing = false;
            host.block (chord);
            host.blocks (3);
            host.playHead.playing = true;
        }

        const auto startSample = playingFromTheFirstBlock ? 0 : host.samplesPlayed;
        for (const auto& e : host.blocks ((int) std::ceil (2.0 * 960 * PluginHarness::samplesPerTick / blockSize)))
            played.push_back (e);

        EXPECT_EQ (heardFrom (played, startSample, startTick, startTick + 960), passFrom (startTick));
    }
}

#include "PluginHarness.h"

#include <tests/host/KnownSong.h>

#include <gtest/gtest.h>

#include <map>

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

/** The processor as a real-time host runs it: every next pass comes from the render worker,
    whenever it is ready. */
void useRenderWorker (PluginHarness& host)
{
    host.processor.setNonRealtime (false);
}
} // namespace

TEST (TransportStart, theFirstPassAfterTheTransportStartsPlaysEveryNoteFromTheStartOn)
{
    for (int blockSize : { 64, 441, 512, 1024, 4096 })
    {
        for (int startTick : { 0, 1, 240, 479, 480, 481, 959, 2 * 960 + 300 })
        {
            SCOPED_TRACE ("blocks of " + std::to_string (blockSize) + ", start at tick " + std::to_string (startTick));
            PluginHarness host (blockSize);
            useRenderWorker (host);
            KnownSong().applyTo (host.processor);

            // The chord is held while the host is stopped; then it plays from startTick.
            host.playHead.playing = false;
            host.playHead.ppq = startTick / 960.0;
            host.block ({ on (60, 100, 0), on (64, 100, 0), on (67, 100, 0) });
            host.blocks (3);

            host.playHead.playing = true;
            const auto startSample = host.samplesPlayed;
            const auto played = host.playUntilTick (startTick + 2 * 960);

            // playUntilTick counts from a start at 0: enough blocks either way.
            EXPECT_EQ (heardFrom (played, startSample, startTick, startTick + 960), passFrom (startTick));
        }
    }
}

TEST (TransportStart, aNewInstanceThatIsPlayingFromItsFirstBlockPlaysTheWholeFirstPass)
{
    // The song arrives as the host restores its project, the chord comes with the first
    // block, and the transport already runs.
    for (int blockSize : { 64, 512, 1024 })
    {
        for (int startTick : { 0, 480, 700 })
        {
            SCOPED_TRACE ("blocks of " + std::to_string (blockSize) + ", start at tick " + std::to_string (startTick));
            PluginHarness host (blockSize);
            useRenderWorker (host);
            restore (host.processor, KnownSong().state());

            host.playHead.ppq = startTick / 960.0;
            auto played = host.block ({ on (60, 100, 0), on (64, 100, 0), on (67, 100, 0) });

            for (const auto& e : host.blocks ((int) std::ceil (2.0 * 960 * PluginHarness::samplesPerTick / blockSize)))
                played.push_back (e);

            EXPECT_EQ (heardFrom (played, 0, startTick, startTick + 960), passFrom (startTick));
        }
    }
}

#pragma once

#include <tarn/sequence/SequenceSerialisation.h>
#include <tests/support/Phrases.h>
#include <tests/support/StateContainer.h>

#include <juce_data_structures/juce_data_structures.h>

#include <algorithm>

/** Songs crafted to make one pass of a phrase as costly as the formats allow, each at the
    longest phrase: what a damaged or hostile project, preset or first-version preset can
    hand the plug-in. Shared by the tests and the benchmarks. */
namespace cadenzium::test::HostileSongs
{
constexpr int length = tarn::Sequence::maxLength;

struct Song
{
    const char* name;
    tarn::Sequence phrase; // in slot 0; the other slots hold an empty bar
};

/** A note on every row at tick 0, each row looping its first tick to the phrase end. */
inline tarn::Sequence rowLoops()
{
    std::vector<tarn::SequenceNote> notes;
    for (int row = 0; row < tarn::Sequence::numRows; ++row)
        notes.push_back (makeNote (row, 0, 1));

    auto s = makeSequence (notes, length);
    s.loops.fill ({ 0, 1 });
    s.normalise();
    return s;
}

/** Notes that last to the phrase end, struck again every 1/128 triplet (20 ticks). */
inline tarn::Sequence rateRepeats (int numNotes)
{
    std::vector<tarn::SequenceNote> notes;

    for (int i = 0; i < numNotes; ++i)
    {
        auto& note = notes.emplace_back (makeNote (i % tarn::Sequence::numRows, i, length - i));
        note.repeatStyle = tarn::SequenceNote::repeatAtRate;
        note.repeatRate = tarn::GridSize::fromIdentifier (127);
        note.repeatCount = note.repeatRate.identifier;
    }

    return makeSequence (notes, length);
}

/** Lanes swinging between their extremes every `swingTicks` for the whole phrase, with a note:
    the first bends the pitch, the others are controllers 0..127 on channel after channel. */
inline tarn::Sequence lanes (int numLanes, int swingTicks)
{
    auto s = makeSequence ({ makeNote (0, 0, 960) }, length);

    for (int i = 0; i < numLanes; ++i)
    {
        const bool bend = i == 0;
        auto& lane = s.lanes.emplace_back();
        lane.type = bend ? tarn::ControllerLane::pitchBend : tarn::ControllerLane::controlChange;
        lane.number = bend ? -1 : i % 128;
        lane.channel = 1 + i / 128;

        for (int tick = 0; tick <= length; tick += swingTicks)
            lane.points.push_back ({ tick, (tick / swingTicks) % 2 == 0 ? 0 : (bend ? tarn::ControllerLane::pitchBendMax : 127), 0.5f, tarn::ControllerPoint::straightLine });
    }

    s.normalise();
    return s;
}

inline std::vector<Song> all()
{
    return { { "1-tick loops on 128 rows", rowLoops() },
             { "2,000 notes with 1/128t repeats", rateRepeats (2000) },
             { "10,000 notes with 1/128t repeats", rateRepeats (10000) },
             { "256 lanes swinging every 16 bars", lanes (256, 16 * tarn::Ticks::perWhole) } };
}

/** The whole state of a song: its phrase in the first `numSlots` slots (an empty bar in the
    others), 128 rows each playing one fixed pitch, and a controller type for every lane. */
inline juce::ValueTree makeState (const tarn::Sequence& phrase, int numSlots = 1)
{
    juce::ValueTree types ("controller_types"), rows ("cadenzium_rows"), sequences ("sequences", { { "current", 0 } });

    for (const auto& lane : phrase.lanes)
    {
        juce::ValueTree type ("controller_type", { { "type", lane.type }, { "channel", lane.channel } });

        if (lane.type == tarn::ControllerLane::controlChange)
            type.setProperty ("number", lane.number, nullptr);

        types.appendChild (type, nullptr);
    }

    for (int row = 0; row < tarn::Sequence::numRows; ++row)
        rows.appendChild (juce::ValueTree ("cadenzium_row", { { "type", 3 }, { "value", row } }), nullptr);

    for (int slot = 0; slot < 12; ++slot)
        sequences.appendChild (tarn::writeSequence (slot < numSlots ? phrase : tarn::Sequence()), nullptr);

    return juce::ValueTree ("cadenzium2", {}, { types, rows, sequences });
}

/** The state as a host hands it back. */
inline juce::MemoryBlock makeChunk (const tarn::Sequence& phrase, int numSlots = 1)
{
    return containerFor (makeState (phrase, numSlots).toXmlString (juce::XmlElement::TextFormat().singleLine()));
}

/** The state as a preset file holds it. */
inline juce::String makePresetText (const tarn::Sequence& phrase)
{
    return makeState (phrase).toXmlString();
}

/** A first-version preset at the longest phrase (1,024 one-beat steps): on its first phrase
    `numNotes` notes one after the other through all 17 rows (up to 10,922 fit), and,
    when asked, its eight lanes swinging between their extremes every beat. */
inline juce::String makeV1Text (int numNotes, bool swingingLanes)
{
    constexpr int steps = length / 960; // speed 3: one quarter note per step, 96 units per step
    constexpr int lastUnit = steps * 96 - 1;
    juce::MemoryOutputStream text;
    text << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<cadenzium>\n"
         << "<PARAM id=\"speed\" value=\"3\"/>\n<PARAM id=\"steps\" value=\"" << steps << "\"/>\n"
         << "<CONTROLLER numbers=\"-1,1,2,3,4,5,6,7\"/>\n<SEQUENCE:0 sequence=\"";

    for (int i = 0; i < numNotes; ++i)
        text << (1 + i % 17) << "|" << (i * 9) << "|100|" << std::min (lastUnit, i * 9 + 8) << "|0|0|100 ";

    text << "\"";

    for (int lane = 0; lane < 8; ++lane)
    {
        text << " cc" << lane << "=\"";

        if (swingingLanes)
            for (int step = 0; step <= steps; ++step)
                text << (step * 96) << "|" << (step % 2 == 0 ? 0 : (lane == 0 ? 16383 : 127)) << " ";

        text << "\"";
    }

    text << "/>\n</cadenzium>\n";
    return text.toString();
}
} // namespace cadenzium::test::HostileSongs

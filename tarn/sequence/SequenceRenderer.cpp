#include "SequenceRenderer.h"

#include "ControllerLaneRenderer.h"
#include "PitchOffsetMessage.h"

#include <tarn/util/RandomSource.h>

#include <algorithm>
#include <cmath>

namespace tarn
{
namespace
{
    using Tick = juce::int64;

    /** One strike of a note within a pass, before its random choices are made. */
    struct NoteEvent
    {
        const SequenceNote* note = nullptr;
        Tick time = 0;
        Tick length = 0;
    };

    // Messages at the same tick: the marker first, then note-offs, note-ons, controllers,
    // and the end of the track last.
    enum class Order
    {
        marker,
        noteOff,
        noteOn,
        controller,
        endOfTrack
    };

    struct PlacedMessage
    {
        Tick tick;
        Order order;
        juce::MidiMessage message;
    };

    /** A whole number from 0 to range - 1. A range of 0 or less still takes one draw, so the
        draws that follow are the same whichever bounds a note has. */
    int draw (juce::Random& random, juce::int64 range) noexcept
    {
        if (range <= 0)
        {
            random.nextInt();
            return 0;
        }

        return random.nextInt ((int) std::min (range, (juce::int64) std::numeric_limits<int>::max()));
    }

    int drawBetween (juce::Random& random, int minValue, int maxValue) noexcept
    {
        const auto top = std::max ((juce::int64) maxValue + 1, (juce::int64) minValue);
        return (int) juce::jlimit ((juce::int64) std::numeric_limits<int>::min(),
                                   (juce::int64) std::numeric_limits<int>::max(),
                                   (juce::int64) minValue + draw (random, top - minValue));
    }

    /** The events of one pitch row: the notes up to the row's span, then its loop repetitions,
        turned round to the playback start. */
    void collectRowEvents (const Sequence& sequence,
                           const std::vector<const SequenceNote*>& rowNotes,
                           const RowLoop& loop,
                           Tick playbackStart,
                           std::vector<NoteEvent>& events)
    {
        events.clear();
        const Tick length = sequence.getLength();
        const bool hasLoop = loop.isSet();
        const Tick spanEnd = hasLoop ? std::min (length, (Tick) loop.end) : length;

        for (const auto* note : rowNotes)
        {
            const Tick time = note->timestamp;

            if (time < 0 || time > spanEnd)
                continue;

            events.push_back ({ note, time, std::min ((Tick) note->length, spanEnd - time) });
        }

        if (hasLoop)
        {
            const Tick loopStart = loop.start;
            const Tick loopEnd = loop.end;
            const Tick period = loopEnd - loopStart; // at least 1: the loop is set
            const auto numPlain = events.size();

            for (Tick repetitionStart = loopEnd; repetitionStart < length; repetitionStart += period)
            {
                for (size_t i = 0; i < numPlain; ++i)
                {
                    const auto body = events[i];

                    if (body.time < loopStart)
                        continue;

                    const Tick time = repetitionStart + (body.time - loopStart);

                    if (time >= length)
                        break;

                    events.push_back ({ body.note, time, std::min (body.length, length - time) });
                }
            }
        }

        if (playbackStart != 0)
        {
            for (auto& event : events)
            {
                event.time = event.time >= playbackStart ? event.time - playbackStart : event.time + length - playbackStart;
                event.length = std::min (event.length, length - event.time);
            }
        }
    }

    juce::MidiMessage makeNoteMessage (bool isNoteOn, int channelBits, int number, int velocity, int offset, bool carryOffset)
    {
        auto message = isNoteOn ? juce::MidiMessage (0x90 | channelBits, number, velocity)
                                : juce::MidiMessage (0x80 | channelBits, number, 0);

        if (carryOffset)
            return PitchOffsetMessage::wrap (message, offset);

        return message;
    }

    void addRepeats (const SequenceNote& note,
                     Tick time,
                     Tick length,
                     Tick sequenceLength,
                     const juce::MidiMessage& noteOn,
                     std::vector<PlacedMessage>& output)
    {
        if (note.repeatStyle == SequenceNote::repeatAtRate)
        {
            const Tick rate = note.repeatRate.ticks;

            if (rate <= 0 || rate >= length)
                return;

            for (Tick strike = time + rate; strike < time + length && strike < sequenceLength; strike += rate)
                output.push_back ({ strike, Order::noteOn, noteOn });
        }
        else if (note.repeatStyle == SequenceNote::repeatCountTimes && note.repeatCount >= 2)
        {
            const auto step = (double) length / (double) note.repeatCount;
            Tick previousOffset = 0;

            for (int i = 1; i < note.repeatCount; ++i)
            {
                const auto offset = (Tick) std::nearbyint ((double) i * step);

                // A strike that does not move forward would only repeat the last one; with a
                // damaged count this also bounds the strikes by the note's length.
                if (offset <= previousOffset || offset >= length || time + offset >= sequenceLength)
                    break;

                previousOffset = offset;
                output.push_back ({ time + offset, Order::noteOn, noteOn });
            }
        }
    }

    void renderRow (const Sequence& sequence, const std::vector<NoteEvent>& events, juce::Random& random, std::vector<PlacedMessage>& output)
    {
        for (const auto& event : events)
        {
            // A note cut to nothing could only put its note-off at or before its note-on.
            if (event.length <= 0)
                continue;

            const auto& note = *event.note;

            if (random.nextInt (100) >= note.chance)
                continue;

            // A note-on with velocity 0 is a note-off: the note would never sound and would
            // end the same pitch sounding from elsewhere.
            const auto velocity = juce::jlimit (1, 127, drawBetween (random, note.velocityMin, note.velocityMax));
            const auto transpose = drawBetween (random, note.transposeMin, note.transposeMax);
            const auto octave = drawBetween (random, note.octaveMin, note.octaveMax);
            const auto offset = (int) juce::jlimit ((juce::int64) -100000, (juce::int64) 100000, (juce::int64) transpose + 12 * (juce::int64) octave);

            const auto channelBits = juce::jlimit (0, 15, note.channel - 1);
            const bool carryOffset = offset != 0 && sequence.carryPitchOffset;
            auto number = note.number & 127;

            if (offset != 0 && ! carryOffset)
                number = (number + offset) & 127;

            const auto noteOn = makeNoteMessage (true, channelBits, number, velocity, offset, carryOffset);
            output.push_back ({ event.time, Order::noteOn, noteOn });
            addRepeats (note, event.time, event.length, sequence.getLength(), noteOn, output);
            output.push_back ({ event.time + event.length, Order::noteOff, makeNoteMessage (false, channelBits, number, 0, offset, carryOffset) });
        }
    }
} // namespace

//==============================================================================
juce::MidiMessageSequence renderSequence (const Sequence& sequence, juce::Random& random)
{
    const Tick length = sequence.getLength();
    const Tick playbackStart = sequence.getEffectivePlaybackStart();

    std::vector<PlacedMessage> placed;
    placed.reserve (sequence.notes.size() * 2 + 2);
    placed.push_back ({ 0, Order::marker, LoopCountMarker::make (sequence.loopCount) });

    std::array<std::vector<const SequenceNote*>, Sequence::numRows> rows;

    for (const auto& note : sequence.notes)
        if (juce::isPositiveAndBelow (note.number, Sequence::numRows))
            rows[(size_t) note.number].push_back (&note);

    std::vector<NoteEvent> events;

    for (size_t row = 0; row < rows.size(); ++row)
    {
        if (rows[row].empty())
            continue;

        collectRowEvents (sequence, rows[row], sequence.loops[row], playbackStart, events);
        renderRow (sequence, events, random, placed);
    }

    for (const auto& lane : sequence.lanes)
        for (auto& timed : renderControllerLane (lane, (int) length, (int) playbackStart))
            placed.push_back ({ timed.tick, Order::controller, std::move (timed.message) });

    placed.push_back ({ length, Order::endOfTrack, juce::MidiMessage::endOfTrack() });

    std::stable_sort (placed.begin(), placed.end(), [] (const PlacedMessage& a, const PlacedMessage& b)
                      { return a.tick < b.tick || (a.tick == b.tick && a.order < b.order); });

    juce::MidiMessageSequence rendering;

    for (auto& message : placed)
        rendering.addEvent (message.message.withTimeStamp ((double) message.tick));

    return rendering;
}

juce::MidiMessageSequence renderSequence (const Sequence& sequence)
{
    auto random = RandomSource::makeGenerator();
    return renderSequence (sequence, random);
}

//==============================================================================
namespace LoopCountMarker
{
    juce::MidiMessage make (int loopCount) noexcept
    {
        const auto count = juce::jlimit (-1, 253, loopCount);
        const juce::uint8 bytes[] = { 0xf0, 0x2a, (juce::uint8) ((count + 2) & 255), 0xf7 };
        return juce::MidiMessage (bytes, 4, 0.0);
    }

    bool isMarker (const juce::MidiMessage& message) noexcept
    {
        const auto* data = message.getRawData();
        return message.getRawDataSize() == 4 && data[0] == 0xf0 && data[1] == 0x2a && data[3] == 0xf7;
    }

    int getLoopLimit (const juce::MidiMessage& marker) noexcept
    {
        return (int) marker.getRawData()[2] - 2;
    }
} // namespace LoopCountMarker

bool isEndOfTrack (const juce::MidiMessage& message) noexcept
{
    return message.isEndOfTrackMetaEvent();
}

} // namespace tarn

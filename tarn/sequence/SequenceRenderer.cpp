#include "SequenceRenderer.h"

#include "ControllerLaneRenderer.h"
#include "PitchOffsetMessage.h"
#include "RowEvents.h"

#include <tarn/util/RandomSource.h>

#include <algorithm>
#include <cmath>

namespace tarn
{
namespace
{
    using Tick = juce::int64;

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

    juce::MidiMessage makeNoteMessage (bool isNoteOn, int channelBits, int number, int velocity, int offset, bool carryOffset)
    {
        auto message = isNoteOn ? juce::MidiMessage (0x90 | channelBits, number, velocity)
                                : juce::MidiMessage (0x80 | channelBits, number, 0);

        if (carryOffset)
            return PitchOffsetMessage::wrap (message, offset);

        return message;
    }

    /** Calls `strike (time)` for every repeat of a note-on struck at `time` and lasting
        `length`, before `cutoff` and the phrase end. */
    template <typename Visitor>
    void forEachStrike (const SequenceNote& note, Tick time, Tick length, Tick cutoff, Visitor&& strike)
    {
        if (note.repeatStyle == SequenceNote::repeatAtRate)
        {
            const Tick rate = note.repeatRate.ticks;

            if (rate <= 0 || rate >= length)
                return;

            for (Tick t = time + rate; t < time + length && t < cutoff; t += rate)
                strike (t);
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
                if (offset <= previousOffset || offset >= length || time + offset >= cutoff)
                    break;

                previousOffset = offset;
                strike (time + offset);
            }
        }
    }

    /** How many repeats forEachStrike() visits, without visiting a rate's thousands. */
    juce::int64 countStrikes (const NoteEvent& event, Tick cutoff)
    {
        const auto& note = *event.note;

        if (note.repeatStyle == SequenceNote::repeatAtRate)
        {
            const Tick rate = note.repeatRate.ticks;
            const auto end = std::min (event.time + event.length, cutoff);

            if (rate <= 0 || rate >= event.length || end <= event.time)
                return 0;

            return (end - event.time - 1) / rate;
        }

        juce::int64 count = 0;
        forEachStrike (note, event.time, event.length, cutoff, [&count] (Tick) { ++count; });
        return count;
    }

    /** The largest tick t in 0..limit with countBefore (t) <= allowance, for a count that
        grows with t and is 0 at 0. */
    template <typename Count>
    Tick findCutoff (Tick limit, juce::int64 allowance, Count&& countBefore)
    {
        Tick low = 0, high = limit;

        while (low < high)
        {
            const auto middle = low + (high - low + 1) / 2;

            if (countBefore (middle) <= allowance)
                low = middle;
            else
                high = middle - 1;
        }

        return low;
    }

    /** One pass of a phrase within the budget: what each kind of event may still take, and
        the tick of the pass from which each kind is left out. */
    class PassRenderer
    {
    public:
        PassRenderer (const Sequence& s, juce::Random& r, RenderReport& reportToFill)
            : sequence (s)
            , random (r)
            , report (reportToFill)
            , length (s.getLength())
            , rotation { s.getEffectivePlaybackStart(), s.getLength() }
        {
            std::array<std::vector<const SequenceNote*>, Sequence::numRows> notesOnRow;

            for (const auto& note : sequence.notes)
                if (juce::isPositiveAndBelow (note.number, Sequence::numRows))
                    notesOnRow[(size_t) note.number].push_back (&note);

            for (size_t row = 0; row < notesOnRow.size(); ++row)
                if (! notesOnRow[row].empty())
                    rows.push_back ({ (int) row, RowEvents (notesOnRow[row], sequence.loops[row], length) });
        }

        juce::MidiMessageSequence render()
        {
            placed.reserve (std::min (sequence.notes.size() * 2, (size_t) RenderBudget::maxMessages) + 2);
            placed.push_back ({ 0, Order::marker, LoopCountMarker::make (sequence.loopCount) });

            const auto writtenCutoff = planWrittenNotes();
            placeControllers();
            const auto repetitionCutoff = planRepetitions();
            collectEvents (writtenCutoff, repetitionCutoff);
            placeNotes (planStrikes());

            placed.push_back ({ length, Order::endOfTrack, juce::MidiMessage::endOfTrack() });

            std::stable_sort (placed.begin(), placed.end(), [] (const PlacedMessage& a, const PlacedMessage& b)
                              { return a.tick < b.tick || (a.tick == b.tick && a.order < b.order); });

            juce::MidiMessageSequence rendering;

            for (auto& message : placed)
                rendering.addEvent (message.message.withTimeStamp ((double) message.tick));

            return rendering;
        }

    private:
        struct Row
        {
            int number;
            RowEvents events;
        };

        /** The written notes take up to the whole budget, two messages each; from the tick
            where they would pass it they are left out. */
        Tick planWrittenNotes()
        {
            std::vector<Tick> times;

            for (const auto& row : rows)
                for (const auto& event : row.events.getWrittenNotes())
                    times.push_back (rotation.apply (event.time));

            const auto fit = (size_t) (remaining / 2);
            auto cutoff = length;

            if (times.size() > fit)
            {
                std::nth_element (times.begin(), times.begin() + (std::ptrdiff_t) fit, times.end());
                cutoff = times[fit];
                const auto kept = std::count_if (times.begin(), times.end(), [cutoff] (Tick t) { return t < cutoff; });
                report.notesLeftOut = (juce::int64) times.size() - kept;
                remaining -= 2 * kept;
            }
            else
            {
                remaining -= 2 * (juce::int64) times.size();
            }

            return cutoff;
        }

        /** Lanes are sampled more coarsely when their ticks would pass the sampling budget or
            their messages what the notes left; what still does not fit goes from the end. */
        void placeControllers()
        {
            juce::int64 samples = 0, fixedSamples = 0; // every tick / the points and ends, at any step

            for (const auto& lane : sequence.lanes)
            {
                if (const auto laneSamples = countLaneSamples (lane, (int) length); laneSamples > 0)
                {
                    samples += laneSamples;
                    fixedSamples += (juce::int64) lane.points.size() + 2;
                }
            }

            if (samples == 0)
                return;

            const auto stepFor = [this, samples, fixedSamples] (juce::int64 budget)
            {
                const auto spare = budget - fixedSamples;
                return (int) (spare <= 0 ? length : juce::jlimit ((juce::int64) 1, length, (samples + spare - 1) / spare));
            };

            const auto first = placed.size();
            const auto placeLanes = [this, first] (int step)
            {
                placed.resize (first);

                for (const auto& lane : sequence.lanes)
                    for (auto& timed : renderControllerLane (lane, (int) length, (int) rotation.start, step))
                        placed.push_back ({ timed.tick, Order::controller, std::move (timed.message) });

                return (juce::int64) (placed.size() - first);
            };

            auto step = samples <= RenderBudget::maxLaneSamples ? 1 : stepFor (RenderBudget::maxLaneSamples);
            auto count = placeLanes (step);

            if (count > remaining && remaining > 0)
            {
                step = std::max (step + 1, stepFor (remaining));
                count = placeLanes (step);
            }

            report.controllerStep = step;

            if (count > remaining)
            {
                std::stable_sort (placed.begin() + (std::ptrdiff_t) first, placed.end(), [] (const PlacedMessage& a, const PlacedMessage& b)
                                  { return a.tick < b.tick; });
                report.controllerChangesLeftOut = count - remaining;
                placed.resize (first + (size_t) remaining);
                count = remaining;
            }

            remaining -= count;
        }

        /** Loop repetitions take what is left, two messages each, up to the tick of the pass
            where they would pass it. */
        Tick planRepetitions()
        {
            const auto countBefore = [this] (Tick playedTime)
            {
                juce::int64 count = 0;

                for (const auto& row : rows)
                    rotation.forEachRangePlayedBefore (playedTime, [&] (Tick from, Tick to)
                                                       { count += row.events.countRepetitionsBefore (to) - row.events.countRepetitionsBefore (from); });

                return count;
            };

            const auto all = countBefore (length);

            if (2 * all <= remaining)
            {
                remaining -= 2 * all;
                return length;
            }

            const auto cutoff = findCutoff (length, remaining / 2, countBefore);
            const auto kept = countBefore (cutoff);
            report.loopRepeatsLeftOut = all - kept;
            remaining -= 2 * kept;
            return cutoff;
        }

        /** Every row's events in the order of its draws: the written notes, then the loop
            repetitions, each turned round to the playback start. */
        void collectEvents (Tick writtenCutoff, Tick repetitionCutoff)
        {
            for (const auto& row : rows)
            {
                const auto first = events.size();

                for (const auto& event : row.events.getWrittenNotes())
                    if (rotation.apply (event.time) < writtenCutoff)
                        events.push_back (event);

                rotation.forEachRangePlayedBefore (repetitionCutoff, [&] (Tick from, Tick to)
                                                   { row.events.forEachRepetition (from, to, [this] (const NoteEvent& e)
                                                                                   { events.push_back (e); }); });

                if (rotation.start != 0)
                {
                    for (auto i = first; i < events.size(); ++i)
                    {
                        auto& event = events[i];
                        event.time = rotation.apply (event.time);
                        event.length = std::min (event.length, length - event.time);
                    }
                }

                rowEnds.push_back (events.size());
            }
        }

        /** Repeat strikes take what is left, up to the tick of the pass where they would pass it. */
        Tick planStrikes()
        {
            const auto countBefore = [this] (Tick cutoff)
            {
                juce::int64 count = 0;

                for (const auto& event : events)
                    count += countStrikes (event, cutoff);

                return count;
            };

            const auto all = countBefore (length);

            if (all <= remaining)
                return length;

            const auto cutoff = findCutoff (length, remaining, countBefore);
            report.strikesLeftOut = all - countBefore (cutoff);
            return cutoff;
        }

        void placeNotes (Tick strikeCutoff)
        {
            size_t first = 0;

            for (size_t r = 0; r < rows.size(); ++r)
            {
                for (auto i = first; i < rowEnds[r]; ++i)
                    placeNote (events[i], strikeCutoff);

                first = rowEnds[r];
            }
        }

        void placeNote (const NoteEvent& event, Tick strikeCutoff)
        {
            const auto& note = *event.note;

            if (random.nextInt (100) >= note.chance)
                return;

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
            placed.push_back ({ event.time, Order::noteOn, noteOn });
            forEachStrike (note, event.time, event.length, std::min (length, strikeCutoff), [this, &noteOn] (Tick t)
                           { placed.push_back ({ t, Order::noteOn, noteOn }); });
            placed.push_back ({ event.time + event.length, Order::noteOff, makeNoteMessage (false, channelBits, number, 0, offset, carryOffset) });
        }

        const Sequence& sequence;
        juce::Random& random;
        RenderReport& report;
        const Tick length;
        const PassRotation rotation;

        std::vector<Row> rows;
        std::vector<NoteEvent> events;
        std::vector<size_t> rowEnds; // where each row's events end in `events`
        std::vector<PlacedMessage> placed;
        juce::int64 remaining = RenderBudget::maxMessages;
    };
} // namespace

//==============================================================================
juce::MidiMessageSequence renderSequence (const Sequence& sequence, juce::Random& random, RenderReport* report)
{
    RenderReport unused;
    return PassRenderer (sequence, random, report != nullptr ? *report : unused).render();
}

juce::MidiMessageSequence renderSequence (const Sequence& sequence, RenderReport* report)
{
    auto random = RandomSource::makeGenerator();
    return renderSequence (sequence, random, report);
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

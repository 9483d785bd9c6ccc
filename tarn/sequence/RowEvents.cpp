#include "RowEvents.h"

namespace tarn
{

RowEvents::RowEvents (const std::vector<const SequenceNote*>& notes, const RowLoop& loop, Tick phraseLength)
    : length (phraseLength)
{
    const bool hasLoop = loop.isSet();
    const Tick spanEnd = hasLoop ? std::min (length, (Tick) loop.end) : length;

    for (const auto* note : notes)
    {
        const Tick time = note->timestamp;
        const auto cutLength = std::min ((Tick) note->length, spanEnd - time);

        // A note cut to nothing could only put its note-off at or before its note-on.
        if (time < 0 || time > spanEnd || cutLength <= 0)
            continue;

        written.push_back ({ note, time, cutLength });
    }

    if (! hasLoop)
        return;

    loopEnd = loop.end;
    period = (Tick) loop.end - loop.start; // at least 1: the loop is set

    for (const auto& event : written)
        if (event.time >= loop.start)
            body.push_back ({ event.note, event.time - loop.start, event.length });
}

juce::int64 RowEvents::countRepetitionsBefore (Tick time) const noexcept
{
    juce::int64 count = 0;
    const auto end = std::min (time, length);

    for (const auto& note : body)
        if (const auto span = end - loopEnd - note.time; span > 0)
            count += (span + period - 1) / period;

    return count;
}

} // namespace tarn

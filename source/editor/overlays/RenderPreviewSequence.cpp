#include "RenderPreviewSequence.h"

namespace RenderPreviewSequence
{

tarn::Sequence build (const juce::MidiMessageSequence& rendered)
{
    auto events = rendered;
    events.updateMatchedPairs();

    tarn::Sequence preview;

    for (int i = 0; i < events.getNumEvents(); ++i)
    {
        const auto& on = events.getEventPointer (i)->message;
        const auto offIndex = events.getIndexOfMatchingKeyUp (i);

        if (! on.isNoteOn() || offIndex < 0)
            continue;

        const auto start = juce::roundToInt (on.getTimeStamp());
        const auto end = juce::roundToInt (events.getEventPointer (offIndex)->message.getTimeStamp());

        tarn::SequenceNote note;
        note.number = on.getNoteNumber();
        note.timestamp = start;
        note.length = juce::jmax (0, end - start);
        note.velocityMin = note.velocityMax = on.getVelocity();
        note.channel = on.getChannel();
        preview.notes.push_back (note);
    }

    preview.normalise();

    const auto bars = juce::jmax (1, (preview.getContentEnd() + barTicks - 1) / barTicks);
    preview.setLength ((int) std::min<juce::int64> ((juce::int64) bars * barTicks, tarn::Sequence::maxLength));

    for (auto& loop : preview.loops)
        loop.clear();

    return preview;
}

} // namespace RenderPreviewSequence

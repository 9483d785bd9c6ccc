#include "StartedNoteList.h"

#include "PitchOffsetMessage.h"

namespace tarn
{

StartedNoteList::Kind StartedNoteList::classify (const juce::MidiMessage& message, Note& noteOut) noexcept
{
    const auto* data = message.getRawData();
    const auto size = message.getRawDataSize();

    if (PitchOffsetMessage::isWrapped (data, size))
    {
        const auto unwrapped = PitchOffsetMessage::unwrap (message);
        noteOut = { unwrapped.message.getChannel(), unwrapped.message.getNoteNumber(), unwrapped.offset };
        return unwrapped.message.isNoteOn() ? Kind::noteOn : Kind::noteOff;
    }

    if (size < 3)
        return Kind::other;

    if (message.isNoteOn())
    {
        noteOut = { message.getChannel(), message.getNoteNumber(), 0 };
        return Kind::noteOn;
    }

    if (message.isNoteOff())
    {
        noteOut = { message.getChannel(), message.getNoteNumber(), 0 };
        return Kind::noteOff;
    }

    return Kind::other;
}

bool StartedNoteList::add (const Note& note) noexcept
{
    if (contains (note))
        return true;

    if (count >= capacity)
        return false;

    notes[(size_t) count++] = note;
    ++entriesPerKey.at (note.channel - 1, note.note);
    return true;
}

void StartedNoteList::remove (const Note& note) noexcept
{
    auto& entries = entriesPerKey.at (note.channel - 1, note.note);

    for (int i = count; --i >= 0 && entries > 0;)
    {
        if (notes[(size_t) i] == note)
        {
            notes[(size_t) i] = notes[(size_t) --count];
            --entries;
        }
    }
}

bool StartedNoteList::contains (const Note& note) const noexcept
{
    if (entriesPerKey.at (note.channel - 1, note.note) == 0)
        return false;

    for (int i = 0; i < count; ++i)
        if (notes[(size_t) i] == note)
            return true;

    return false;
}

void StartedNoteList::track (const juce::MidiMessage& message) noexcept
{
    Note note;
    const auto kind = classify (message, note);

    if (kind == Kind::noteOn)
        add (note);
    else if (kind == Kind::noteOff)
        remove (note);
}

juce::MidiMessage StartedNoteList::makeNoteOff (const Note& note) noexcept
{
    const juce::MidiMessage noteOff (0x80 | juce::jlimit (0, 15, note.channel - 1), note.note & 127, 0);
    return note.offset != 0 ? PitchOffsetMessage::wrap (noteOff, note.offset) : noteOff;
}

void StartedNoteList::endAll (juce::MidiBuffer& buffer, int sample) noexcept
{
    for (int i = 0; i < count; ++i)
        buffer.addEvent (makeNoteOff (notes[(size_t) i]), sample);

    clear();
}

void StartedNoteList::clear() noexcept
{
    count = 0;
    entriesPerKey.fill (0);
}

} // namespace tarn

#include "HeldNoteList.h"

#include <tarn/processor/MidiNotes.h>

namespace notes = tarn::MidiNotes;

bool HeldNotes::containsNote (int note) const noexcept
{
    for (const auto& held : *this)
        if (held.note == note)
            return true;

    return false;
}

void HeldNotes::add (const HeldNote& held) noexcept
{
    if (count < capacity && ! containsNote (held.note))
        notes[(size_t) count++] = held;
}

void HeldNotes::remove (int note) noexcept
{
    for (int i = count; --i >= 0;)
    {
        if (notes[(size_t) i].note == note)
        {
            std::copy (notes.begin() + i + 1, notes.begin() + count, notes.begin() + i);
            --count;
            return;
        }
    }
}

//==============================================================================
void HeldNoteList::update (const juce::MidiBuffer& latchedInput) noexcept
{
    bool changed = false;

    for (const auto m : latchedInput)
    {
        if (notes::isNoteOn (m))
        {
            notes.add ({ notes::noteOf (m), (float) notes::velocityOf (m) / 127.0f, notes::channelIndexOf (m) + 1 });
            changed = true;
        }
        else if (notes::isNoteOff (m))
        {
            notes.remove (notes::noteOf (m));
            changed = true;
        }
    }

    if (changed)
        publish();
}

void HeldNoteList::noteOn (int note, float velocity, int channel) noexcept
{
    notes.add ({ note & 0x7f, juce::jlimit (0.0f, 1.0f, velocity), juce::jlimit (1, 16, channel) });
    publish();
}

void HeldNoteList::noteOff (int note) noexcept
{
    notes.remove (note);
    publish();
}

void HeldNoteList::clear() noexcept
{
    if (notes.isEmpty())
        return;

    notes.clear();
    publish();
}

HeldNotes HeldNoteList::getSnapshot() const
{
    return published.get();
}

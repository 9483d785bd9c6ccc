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
    const juce::SpinLock::ScopedLockType sl (lock);

    for (const auto m : latchedInput)
    {
        if (notes::isNoteOn (m))
            notes.add ({ notes::noteOf (m), (float) notes::velocityOf (m) / 127.0f, notes::channelIndexOf (m) + 1 });
        else if (notes::isNoteOff (m))
            notes.remove (notes::noteOf (m));
    }
}

void HeldNoteList::noteOn (int note, float velocity, int channel) noexcept
{
    const juce::SpinLock::ScopedLockType sl (lock);
    notes.add ({ note & 0x7f, juce::jlimit (0.0f, 1.0f, velocity), juce::jlimit (1, 16, channel) });
}

void HeldNoteList::noteOff (int note) noexcept
{
    const juce::SpinLock::ScopedLockType sl (lock);
    notes.remove (note);
}

void HeldNoteList::clear() noexcept
{
    const juce::SpinLock::ScopedLockType sl (lock);
    notes.clear();
}

HeldNotes HeldNoteList::getSnapshot() const noexcept
{
    const juce::SpinLock::ScopedLockType sl (lock);
    return notes;
}

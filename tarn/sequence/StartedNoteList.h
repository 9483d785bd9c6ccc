#pragma once

#include <tarn/processor/NoteTable.h>

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>

namespace tarn
{

/** The notes a player has started and not yet ended, as (channel, note, pitch offset), so
    that every note-on it sends can be answered by a note-off whatever happens to the
    phrase, the slot or the transport.

    Fixed storage, no allocation, noexcept throughout. [audio thread]
*/
class StartedNoteList
{
public:
    struct Note
    {
        int channel = 1; // 1..16
        int note = 0;
        int offset = 0; // the pitch offset the note-on carried

        bool operator== (const Note& other) const noexcept
        {
            return channel == other.channel && note == other.note && offset == other.offset;
        }
    };

    /** Every channel and key once, with room for the same key under other offsets. */
    static constexpr int capacity = 2048;

    /** What a message means for the list: a note-on (velocity above 0), a note-off (or a
        note-on with velocity 0), or neither; wrapped messages are read through. */
    enum class Kind
    {
        other,
        noteOn,
        noteOff
    };

    static Kind classify (const juce::MidiMessage& message, Note& noteOut) noexcept;

    /** Adds the note unless that exact note is already held. False when the list is full. */
    bool add (const Note& note) noexcept;

    /** Forgets every entry of that channel, note and offset. */
    void remove (const Note& note) noexcept;

    bool contains (const Note& note) const noexcept;

    /** Updates the list from a message that was played. */
    void track (const juce::MidiMessage& message) noexcept;

    /** A note-off at `sample` for every held note (wrapped when it carried an offset), then
        forgets them all. */
    void endAll (juce::MidiBuffer& buffer, int sample) noexcept;

    /** The note-off that ends a held note. */
    static juce::MidiMessage makeNoteOff (const Note& note) noexcept;

    void clear() noexcept;
    int size() const noexcept { return count; }
    bool isEmpty() const noexcept { return count == 0; }
    const Note& operator[] (int index) const noexcept { return notes[(size_t) index]; }

private:
    std::array<Note, capacity> notes {};
    int count = 0;
    NoteTable<juce::uint16> entriesPerKey; // skips the search for keys never held
};

} // namespace tarn

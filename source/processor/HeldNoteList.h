#pragma once

#include <tarn/processor/AudioThreadSnapshot.h>

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>
#include <atomic>

/** One note held at the input. */
struct HeldNote
{
    int note = 0;
    float velocity = 0.0f; // MIDI velocity / 127
    int channel = 1; // 1..16
};

/** The notes held at the input in the order they were pressed, each note number at most
    once: a plain fixed-size value, cheap to copy and never allocating. [any thread, one
    thread per instance] */
class HeldNotes
{
public:
    static constexpr int capacity = 128;

    int size() const noexcept { return count; }
    bool isEmpty() const noexcept { return count == 0; }
    const HeldNote& operator[] (int index) const noexcept { return notes[(size_t) index]; }
    const HeldNote* begin() const noexcept { return notes.data(); }
    const HeldNote* end() const noexcept { return notes.data() + count; }

    bool containsNote (int note) const noexcept;

    /** Appends the note unless its number is already held. */
    void add (const HeldNote& held) noexcept;

    /** Removes the entry with this note number (there is at most one). */
    void remove (int note) noexcept;

    void clear() noexcept { count = 0; }

private:
    std::array<HeldNote, capacity> notes {};
    int count = 0;
};

/** The chord the rows play from: the held notes after the latch, and the fill switch.

    Only the audio thread changes the list, and reads its own list directly. After each
    change it publishes a copy of the whole list through a triple buffer, so the editor
    copies whole chords and the audio thread never waits for it.
*/
class HeldNoteList
{
public:
    /** Adds every note-on (velocity above 0) of the latcher's output and removes every
        note-off's note. [audio thread] */
    void update (const juce::MidiBuffer& latchedInput) noexcept;

    /** [audio thread] */
    void noteOn (int note, float velocity, int channel) noexcept;
    void noteOff (int note) noexcept;
    void clear() noexcept;

    /** The list as it is, without locking: only the audio thread writes it. [audio thread] */
    const HeldNotes& getNotes() const noexcept { return notes; }

    /** A copy of the list as the last change left it, for the editor's keyboard and for
        generation. [any thread but the audio thread] */
    HeldNotes getSnapshot() const;

    /** input_fill [any thread] */
    void setFill (bool shouldFill) noexcept { fill.store (shouldFill); }
    bool isFillOn() const noexcept { return fill.load(); }

private:
    void publish() noexcept { published.publish (notes); }

    HeldNotes notes;
    tarn::AudioThreadSnapshot<HeldNotes> published;
    std::atomic<bool> fill { true };
};

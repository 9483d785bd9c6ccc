#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

namespace tarn
{

/** The seven-byte system-exclusive wrapper that carries a note together with its per-pass
    pitch offset, so the processor can apply the offset after the row has chosen a pitch:

        F0, 0x44 (note-on) or 0x45 (note-off), channel 1..16, note, velocity, offset + 100, F7

    Only note-ons and note-offs are ever wrapped. The offset is limited to -100..+127: that is
    every offset that can move a note within 0..127, and it keeps every byte a MIDI buffer
    could mistake for the end of the message (F7) out of the offset byte.

    All functions are allocation-free (the message fits a MidiMessage's inline storage).
    [any thread]
*/
namespace PitchOffsetMessage
{
    constexpr int minOffset = -100;
    constexpr int maxOffset = 127;
    constexpr int numBytes = 7;

    /** The wrapped form of a note-on or note-off (a note-on with velocity 0 counts as a
        note-off), keeping its timestamp. Any other message comes back unchanged. */
    juce::MidiMessage wrap (const juce::MidiMessage& noteOnOrOff, int offset) noexcept;

    bool isWrapped (const juce::MidiMessage& message) noexcept;
    bool isWrapped (const juce::uint8* data, int size) noexcept;

    struct Unwrapped
    {
        juce::MidiMessage message;
        int offset = 0;
    };

    /** The channel message and its offset; anything that is not wrapped passes through with
        offset 0. */
    Unwrapped unwrap (const juce::MidiMessage& message) noexcept;

    /** The three bytes of the note inside a wrapped message (velocity limited to 127) and the
        offset it carried, for code that works on raw MIDI bytes. Call only when isWrapped()
        is true. */
    struct UnwrappedBytes
    {
        juce::uint8 bytes[3] {};
        int offset = 0;
    };

    UnwrappedBytes unwrapBytes (const juce::uint8* data) noexcept;
} // namespace PitchOffsetMessage

} // namespace tarn

#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

namespace tarn
{

/** Small classifiers on raw MIDI bytes, shared by the real-time stages. A note-on with
    velocity 0 is a note-off everywhere: hosts and keyboards send both forms. */
namespace MidiNotes
{
    inline int statusOf (const juce::MidiMessageMetadata& m) noexcept { return m.numBytes > 0 ? (m.data[0] & 0xf0) : 0; }

    inline bool isNoteOn (const juce::MidiMessageMetadata& m) noexcept
    {
        return m.numBytes >= 3 && statusOf (m) == 0x90 && m.data[2] > 0;
    }

    inline bool isNoteOff (const juce::MidiMessageMetadata& m) noexcept
    {
        return m.numBytes >= 3 && (statusOf (m) == 0x80 || (statusOf (m) == 0x90 && m.data[2] == 0));
    }

    inline bool isNoteOnOrOff (const juce::MidiMessageMetadata& m) noexcept
    {
        return m.numBytes >= 3 && (statusOf (m) == 0x80 || statusOf (m) == 0x90);
    }

    inline bool isPolyAftertouch (const juce::MidiMessageMetadata& m) noexcept
    {
        return m.numBytes >= 3 && statusOf (m) == 0xa0;
    }

    inline bool isController (const juce::MidiMessageMetadata& m) noexcept
    {
        return m.numBytes >= 3 && statusOf (m) == 0xb0;
    }

    /** 0..15 */
    inline int channelIndexOf (const juce::MidiMessageMetadata& m) noexcept { return m.data[0] & 0x0f; }

    /** 0..127 */
    inline int noteOf (const juce::MidiMessageMetadata& m) noexcept { return m.data[1] & 0x7f; }

    inline int velocityOf (const juce::MidiMessageMetadata& m) noexcept { return m.data[2] & 0x7f; }

    /** Adds a three-byte channel message. [any thread, no allocation when the buffer has room] */
    inline void add (juce::MidiBuffer& buffer, int status, int data1, int data2, int sample) noexcept
    {
        const juce::uint8 bytes[] = { (juce::uint8) status, (juce::uint8) (data1 & 0x7f), (juce::uint8) (data2 & 0x7f) };
        buffer.addEvent (bytes, 3, sample);
    }

    inline void addNoteOff (juce::MidiBuffer& buffer, int channelIndex, int note, int sample, int velocity = 0) noexcept
    {
        add (buffer, 0x80 | (channelIndex & 0x0f), note, velocity, sample);
    }
} // namespace MidiNotes

} // namespace tarn

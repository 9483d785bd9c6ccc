#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>
#include <ostream>
#include <vector>

namespace cadenzium::test
{

/** One channel message of a buffer, easy to compare in tests. Channels are 1..16. */
struct Event
{
    int sample = 0;
    int kind = 0; // status without the channel: 0x80, 0x90, 0xa0, 0xb0, ...
    int channel = 1;
    int data1 = 0;
    int data2 = 0;
    bool isNoteOn() const noexcept { return kind == 0x90 && data2 > 0; }
    bool isNoteOff() const noexcept { return kind == 0x80 || (kind == 0x90 && data2 == 0); }

    bool operator== (const Event& o) const noexcept
    {
        return sample == o.sample && kind == o.kind && channel == o.channel && data1 == o.data1 && data2 == o.data2;
    }
};

inline std::ostream& operator<< (std::ostream& os, const Event& e)
{
    return os << "{" << e.sample << ": " << std::hex << e.kind << std::dec << " ch" << e.channel << " " << e.data1 << " " << e.data2 << "}";
}

inline Event on (int note, int velocity, int sample, int channel = 1) { return { sample, 0x90, channel, note, velocity }; }
inline Event off (int note, int sample, int channel = 1, int velocity = 0) { return { sample, 0x80, channel, note, velocity }; }
inline Event cc (int controller, int value, int sample, int channel = 1) { return { sample, 0xb0, channel, controller, value }; }

inline juce::MidiBuffer bufferOf (const std::vector<Event>& events)
{
    juce::MidiBuffer buffer;

    for (const auto& e : events)
    {
        const juce::uint8 bytes[] = { (juce::uint8) (e.kind | (e.channel - 1)), (juce::uint8) e.data1, (juce::uint8) e.data2 };
        buffer.addEvent (bytes, 3, e.sample);
    }

    return buffer;
}

inline void add (juce::MidiBuffer& buffer, const Event& e)
{
    const juce::uint8 bytes[] = { (juce::uint8) (e.kind | (e.channel - 1)), (juce::uint8) e.data1, (juce::uint8) e.data2 };
    buffer.addEvent (bytes, 3, e.sample);
}

/** Channel messages of a buffer in order; anything longer than three bytes is skipped. */
inline std::vector<Event> eventsOf (const juce::MidiBuffer& buffer)
{
    std::vector<Event> result;

    for (const auto m : buffer)
        if (m.numBytes >= 1 && m.numBytes <= 3 && m.data[0] >= 0x80 && m.data[0] < 0xf0)
            result.push_back ({ m.samplePosition, m.data[0] & 0xf0, (m.data[0] & 0x0f) + 1, m.numBytes > 1 ? m.data[1] : 0, m.numBytes > 2 ? m.data[2] : 0 });

    return result;
}

/** The note counter of a plug-in's output: +1 per note-on, -1 per note-off, and a record of
    any note-off that arrived while its note was not sounding. */
class NoteCounter
{
public:
    void count (const juce::MidiBuffer& buffer)
    {
        for (const auto& e : eventsOf (buffer))
        {
            auto& c = counts[(size_t) e.channel - 1][(size_t) e.data1];

            if (e.isNoteOn())
                ++c;
            else if (e.isNoteOff() && c > 0)
                --c;
        }
    }

    int sounding() const
    {
        int total = 0;

        for (const auto& channel : counts)
            for (auto c : channel)
                total += c;

        return total;
    }

    int get (int channel, int note) const { return counts[(size_t) channel - 1][(size_t) note]; }

    /** "ch1 note 60 x1; ..." for every note still sounding: what a failure should print. */
    juce::String describeSounding() const
    {
        juce::String text;

        for (int channel = 1; channel <= 16; ++channel)
            for (int note = 0; note < 128; ++note)
                if (get (channel, note) > 0)
                    text << "ch" << channel << " note " << note << " x" << get (channel, note) << "; ";

        return text;
    }

protected:
    std::array<std::array<int, 128>, 16> counts {};
};

} // namespace cadenzium::test

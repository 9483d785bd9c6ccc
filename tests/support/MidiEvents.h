#pragma once

#include <tarn/sequence/PitchOffsetMessage.h>

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>
#include <numeric>
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
    bool operator== (const Event&) const = default;
};

inline std::ostream& operator<< (std::ostream& os, const Event& e)
{
    return os << "{" << e.sample << ": " << std::hex << e.kind << std::dec << " ch" << e.channel << " " << e.data1 << " " << e.data2 << "}";
}

inline Event on (int note, int velocity, int sample, int channel = 1) { return { sample, 0x90, channel, note, velocity }; }
inline Event off (int note, int sample, int channel = 1, int velocity = 0) { return { sample, 0x80, channel, note, velocity }; }
inline Event cc (int controller, int value, int sample, int channel = 1) { return { sample, 0xb0, channel, controller, value }; }

inline void add (juce::MidiBuffer& buffer, const Event& e)
{
    const juce::uint8 bytes[] = { (juce::uint8) (e.kind | (e.channel - 1)), (juce::uint8) e.data1, (juce::uint8) e.data2 };
    buffer.addEvent (bytes, 3, e.sample);
}

inline juce::MidiBuffer bufferOf (const std::vector<Event>& events)
{
    juce::MidiBuffer buffer;

    for (const auto& e : events)
        add (buffer, e);

    return buffer;
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

/** What a synth at the output would hold down, per channel and key: +1 per note-on, -1 per
    note-off (or, where a phrase strikes a sounding key again, one note-off ends the key);
    "all notes off" (CC 123) clears its channel. A note-off for a key that is not sounding is
    a stray, counted per channel. Reads notes wrapped with a pitch offset. */
class NoteCounter
{
public:
    enum class Restrikes
    {
        stack,
        endedByOneNoteOff
    };

    explicit NoteCounter (Restrikes restrikesToUse = Restrikes::stack) : restrikes (restrikesToUse) {}

    void add (const juce::MidiMessage& raw)
    {
        const auto message = tarn::PitchOffsetMessage::unwrap (raw).message;

        if (message.isControllerOfType (123))
            counts[(size_t) message.getChannel() - 1].fill (0);

        if (! message.isNoteOnOrOff())
            return;

        auto& count = counts[(size_t) message.getChannel() - 1][(size_t) message.getNoteNumber()];

        if (message.isNoteOn())
            ++count;
        else if (count > 0)
            count = restrikes == Restrikes::stack ? count - 1 : 0;
        else
            ++strays[(size_t) message.getChannel() - 1];
    }

    void add (const juce::MidiBuffer& buffer)
    {
        for (const auto metadata : buffer)
            add (metadata.getMessage());
    }

    int get (int channel, int note) const { return counts[(size_t) channel - 1][(size_t) note]; }

    /** Strikes still waiting for their note-off, on every channel. */
    int sounding() const
    {
        int total = 0;
        for (const auto& channel : counts)
            total += std::accumulate (channel.begin(), channel.end(), 0);
        return total;
    }

    int strayNoteOffs (int firstChannel = 1, int lastChannel = 16) const
    {
        return std::accumulate (strays.begin() + firstChannel - 1, strays.begin() + lastChannel, 0);
    }

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

    std::array<int, 16> strays {};

private:
    Restrikes restrikes;
    std::array<std::array<int, 128>, 16> counts {};
};

} // namespace cadenzium::test

#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>

/** Notes played on the editor's on-screen keyboard, on their way to the audio thread.

    The keyboard component drives a juce::MidiKeyboardState on the message thread; this
    listens to it and queues every key in a lock-free single-producer FIFO, which the block
    drains into its input at sample 0. The state's own lock and listeners are therefore never
    touched by the audio thread. A full queue drops the key (a block drains it long before).
*/
class ScreenKeyboardQueue : private juce::MidiKeyboardState::Listener
{
public:
    static constexpr int capacity = 512;

    ScreenKeyboardQueue(); // [message thread]
    ~ScreenKeyboardQueue() override; // [message thread]

    /** The state the on-screen keyboard plays into. [message thread] */
    juce::MidiKeyboardState& getState() noexcept { return state; }

    /** Adds the queued keys to `input` at sample 0, in the order they were played. [audio thread] */
    void drainInto (juce::MidiBuffer& input) noexcept;

private:
    void handleNoteOn (juce::MidiKeyboardState*, int midiChannel, int midiNoteNumber, float velocity) override;
    void handleNoteOff (juce::MidiKeyboardState*, int midiChannel, int midiNoteNumber, float velocity) override;
    void push (int status, int midiChannel, int note, float velocity) noexcept;

    struct Key
    {
        juce::uint8 bytes[3];
    };

    juce::AbstractFifo fifo { capacity };
    std::array<Key, capacity> keys {};
    juce::MidiKeyboardState state;

    JUCE_DECLARE_NON_COPYABLE (ScreenKeyboardQueue)
};

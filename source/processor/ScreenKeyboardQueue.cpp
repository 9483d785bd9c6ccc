#include "ScreenKeyboardQueue.h"

ScreenKeyboardQueue::ScreenKeyboardQueue()
{
    state.addListener (this);
}

ScreenKeyboardQueue::~ScreenKeyboardQueue()
{
    state.removeListener (this);
}

void ScreenKeyboardQueue::handleNoteOn (juce::MidiKeyboardState*, int midiChannel, int midiNoteNumber, float velocity)
{
    push (0x90, midiChannel, midiNoteNumber, velocity);
}

void ScreenKeyboardQueue::handleNoteOff (juce::MidiKeyboardState*, int midiChannel, int midiNoteNumber, float velocity)
{
    push (0x80, midiChannel, midiNoteNumber, velocity);
}

void ScreenKeyboardQueue::push (int status, int midiChannel, int note, float velocity) noexcept
{
    const auto scope = fifo.write (1);

    if (scope.blockSize1 + scope.blockSize2 == 0)
        return;

    auto& key = keys[(size_t) (scope.blockSize1 > 0 ? scope.startIndex1 : scope.startIndex2)];
    key.bytes[0] = (juce::uint8) (status | (juce::jlimit (1, 16, midiChannel) - 1));
    key.bytes[1] = (juce::uint8) (note & 127);
    key.bytes[2] = (juce::uint8) juce::jlimit (0, 127, juce::roundToInt (velocity * 127.0f));
}

void ScreenKeyboardQueue::drainInto (juce::MidiBuffer& input) noexcept
{
    const auto scope = fifo.read (fifo.getNumReady());

    for (int i = 0; i < scope.blockSize1; ++i)
        input.addEvent (keys[(size_t) (scope.startIndex1 + i)].bytes, 3, 0);

    for (int i = 0; i < scope.blockSize2; ++i)
        input.addEvent (keys[(size_t) (scope.startIndex2 + i)].bytes, 3, 0);
}

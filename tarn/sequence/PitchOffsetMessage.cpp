#include "PitchOffsetMessage.h"

namespace tarn::PitchOffsetMessage
{
namespace
{
    constexpr juce::uint8 noteOnId = 0x44; // 'D'
    constexpr juce::uint8 noteOffId = 0x45; // 'E'
    constexpr int offsetBias = 100;
} // namespace

juce::MidiMessage wrap (const juce::MidiMessage& message, int offset) noexcept
{
    if (! message.isNoteOnOrOff())
        return message;

    const auto clampedOffset = juce::jlimit (minOffset, maxOffset, offset);
    const juce::uint8 bytes[numBytes] = { 0xf0,
                                          message.isNoteOn() ? noteOnId : noteOffId,
                                          (juce::uint8) message.getChannel(),
                                          (juce::uint8) (message.getNoteNumber() & 127),
                                          message.getVelocity(),
                                          (juce::uint8) (clampedOffset + offsetBias),
                                          0xf7 };

    return juce::MidiMessage (bytes, numBytes, message.getTimeStamp());
}

bool isWrapped (const juce::uint8* data, int size) noexcept
{
    return size == numBytes && data[0] == 0xf0 && (data[1] == noteOnId || data[1] == noteOffId) && data[6] == 0xf7;
}

bool isWrapped (const juce::MidiMessage& message) noexcept
{
    return isWrapped (message.getRawData(), message.getRawDataSize());
}

Unwrapped unwrap (const juce::MidiMessage& message) noexcept
{
    if (! isWrapped (message))
        return { message, 0 };

    const auto* data = message.getRawData();
    const auto channelBits = juce::jlimit (1, 16, (int) data[2]) - 1;
    const auto note = data[3] & 127;
    const auto velocity = std::min ((int) data[4], 127);
    const auto offset = (int) data[5] - offsetBias;

    if (data[1] == noteOnId)
        return { juce::MidiMessage (0x90 | channelBits, note, velocity, message.getTimeStamp()), offset };

    return { juce::MidiMessage (0x80 | channelBits, note, velocity, message.getTimeStamp()), offset };
}

UnwrappedBytes unwrapBytes (const juce::uint8* data) noexcept
{
    UnwrappedBytes result;
    const auto channelBits = juce::jlimit (1, 16, (int) data[2]) - 1;
    result.bytes[0] = (juce::uint8) ((data[1] == noteOnId ? 0x90 : 0x80) | channelBits);
    result.bytes[1] = (juce::uint8) (data[3] & 127);
    result.bytes[2] = (juce::uint8) std::min ((int) data[4], 127);
    result.offset = (int) data[5] - offsetBias;
    return result;
}

} // namespace tarn::PitchOffsetMessage

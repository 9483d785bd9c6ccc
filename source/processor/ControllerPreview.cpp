#include "ControllerPreview.h"

#include <tarn/processor/MidiNotes.h>

namespace notes = tarn::MidiNotes;

juce::uint32 ControllerPreview::pack (int channelIndex, int controller, int value) noexcept
{
    if (controller < 0 || controller > 127)
        return 0;

    const auto channelBits = (juce::uint32) (juce::jlimit (0, 15, channelIndex) + 1) << 14;
    return channelBits | ((juce::uint32) controller << 7) | (juce::uint32) juce::jlimit (0, 127, value);
}

std::optional<ControllerPreview::Message> ControllerPreview::unpack (juce::uint32 word) noexcept
{
    if (word == 0)
        return std::nullopt;

    return Message { juce::jlimit (0, 15, (int) (word >> 14) - 1), (int) ((word >> 7) & 127), (int) (word & 127) };
}

void ControllerPreview::buildBlock (const juce::MidiBuffer& input, juce::uint32 word, OutputNoteTracker& tracker, juce::MidiBuffer& output) noexcept
{
    output.clear();

    for (const auto m : input)
        if (notes::isNoteOff (m))
            output.addEvent (m.data, m.numBytes, m.samplePosition);

    tracker.endAll (output, 0);

    if (const auto message = unpack (word))
        notes::add (output, 0xb0 | message->channelIndex, message->controller, message->value, 0);
}

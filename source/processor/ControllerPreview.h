#pragma once

#include "OutputNoteTracker.h"

#include <optional>

/** A controller message the editor asks the audio thread to send once (a lane's "Send
    MIDI Learn"), packed into one atomic word: ((channel + 1) << 14) | (controller << 7) |
    value, channel 0..15; 0 means none. */
namespace ControllerPreview
{
/** The word for a controller message; 0 (nothing to send) for a controller outside 0..127,
    such as the -1 of a pitch-bend lane, which would otherwise pack into a corrupt word and
    go out as controller 127. Channel and value are limited to their ranges. [any thread] */
juce::uint32 pack (int channelIndex, int controller, int value) noexcept;

struct Message
{
    int channelIndex = 0;
    int controller = 0;
    int value = 0;
};

/** The message in a word; none for 0. [any thread] */
std::optional<Message> unpack (juce::uint32 word) noexcept;

/** The preview block: the input's note-offs where they were, note-offs at sample 0 for
    every output note still sounding (the tracker is emptied), and the controller message at
    sample 0. Other input events are dropped. [audio thread] */
void buildBlock (const juce::MidiBuffer& input, juce::uint32 word, OutputNoteTracker& tracker, juce::MidiBuffer& output) noexcept;
} // namespace ControllerPreview

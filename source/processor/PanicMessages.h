#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

/** What the panic button sends: on each of the 16 channels a note-off for all 128 notes,
    then controller 123 (all notes off), so even notes the plug-in does not know about
    (another source, a stuck synth) stop. */
namespace PanicMessages
{
inline constexpr int count = 16 * (128 + 1);

/** Adds the 2064 messages at sample. [audio thread; the buffer needs room for them] */
void addTo (juce::MidiBuffer& output, int sample) noexcept;
} // namespace PanicMessages

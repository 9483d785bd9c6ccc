#pragma once

#include <tarn/sequence/Sequence.h>

#include <juce_audio_basics/juce_audio_basics.h>

/** The phrase the render overlay previews: the rendered notes on the rows of their note
    numbers, so the preview reads like a piano roll of the output. */
namespace RenderPreviewSequence
{
/** The preview always shows whole bars of 4/4. */
inline constexpr int barTicks = tarn::Ticks::perWhole;

/** One note per note-on with its matching note-off (times rounded to whole ticks, the
    note-on's velocity and channel), the length the content end rounded up to whole bars
    (at least one), no row loops. [any thread] */
tarn::Sequence build (const juce::MidiMessageSequence& rendered);
} // namespace RenderPreviewSequence

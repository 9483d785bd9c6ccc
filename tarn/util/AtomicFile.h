#pragma once

#include <juce_core/juce_core.h>

namespace tarn
{

/** Whole-file replacement that never leaves a half-written file behind.

    The bytes go to a new hidden file beside the target, are flushed to the disk, and
    the new file is then renamed over the target in one step. A full disk, a crash or
    a power cut at any moment leaves either the old file or the new one, never a
    truncated mix; on failure the target is untouched and the temporary file removed.
*/
namespace AtomicFile
{
    /** [any thread but the audio thread] */
    juce::Result replaceWithData (const juce::File& target, const void* data, size_t numBytes);

    /** The text as UTF-8 without a byte-order mark. [any thread but the audio thread] */
    juce::Result replaceWithText (const juce::File& target, const juce::String& text);
} // namespace AtomicFile

} // namespace tarn

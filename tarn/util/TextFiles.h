#pragma once

#include <juce_core/juce_core.h>

#include <optional>

namespace tarn
{

/** Reading text that comes from outside: files of any size and content. */
namespace TextFiles
{
    /** The bytes as text (UTF-8, or UTF-16 with a byte-order mark). Bytes cut in the
        middle of a character or not UTF-8 at all give odd characters, never a read
        past the bytes (the framework's decoder looks ahead up to three bytes). [any thread] */
    juce::String decode (juce::MemoryBlock bytes);

    /** True for a plain file: a FIFO or device named like one would block or never end
        when read. [any thread] */
    bool isRegularFile (const juce::File& file);

    /** The whole file as text, or nothing when it is not a regular file, cannot be read
        or is larger than maxBytes. [any thread but the audio thread] */
    std::optional<juce::String> load (const juce::File& file, juce::int64 maxBytes);
} // namespace TextFiles

} // namespace tarn

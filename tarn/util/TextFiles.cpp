#include "TextFiles.h"

#include <filesystem>

namespace tarn::TextFiles
{

juce::String decode (juce::MemoryBlock bytes)
{
    const auto size = bytes.getSize();

    // Zeros after the end stop the decoder's look-ahead inside our own memory.
    bytes.ensureSize (size + 4, true);
    return juce::String::createStringFromData (bytes.getData(), (int) size);
}

bool isRegularFile (const juce::File& file)
{
    std::error_code error;
    return std::filesystem::is_regular_file (file.getFullPathName().toStdString(), error);
}

std::optional<juce::String> load (const juce::File& file, juce::int64 maxBytes)
{
    if (! isRegularFile (file) || file.getSize() > maxBytes)
        return std::nullopt;

    juce::MemoryBlock bytes;

    if (! file.loadFileAsData (bytes) || (juce::int64) bytes.getSize() > maxBytes)
        return std::nullopt;

    return decode (std::move (bytes));
}

} // namespace tarn::TextFiles

#pragma once

#include <juce_core/juce_core.h>

namespace cadenzium::test
{

/** A state as a host hands it back: the framework's container ("VC2!", the length with the
    terminating zero) around the text. */
inline juce::MemoryBlock containerFor (const void* text, size_t size)
{
    juce::MemoryBlock block;
    juce::MemoryOutputStream out (block, false);
    out.writeInt (0x21324356);
    out.writeInt ((int) size + 1);
    out.write (text, size);
    out.writeByte (0);
    return block;
}

inline juce::MemoryBlock containerFor (const juce::String& text)
{
    return containerFor (text.toRawUTF8(), text.getNumBytesAsUTF8());
}

} // namespace cadenzium::test

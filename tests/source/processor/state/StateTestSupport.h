#pragma once

#include <source/commands/EditCommands.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/sequence/SequenceSerialisation.h>

#include <juce_audio_processors/juce_audio_processors.h>

namespace cadenzium::test
{

inline juce::MemoryBlock stateOf (Cadenzium2AudioProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getStateInformation (block);
    return block;
}

inline void restore (Cadenzium2AudioProcessor& processor, const juce::MemoryBlock& state)
{
    processor.setStateInformation (state.getData(), (int) state.getSize());
}

/** The host container around a text: "VC2!", the length with the terminating zero, the text. */
inline juce::MemoryBlock containerFor (const juce::String& text)
{
    juce::MemoryBlock block;
    juce::MemoryOutputStream out (block, false);
    out.writeInt (0x21324356);
    out.writeInt ((int) text.getNumBytesAsUTF8() + 1);
    out << text;
    out.writeByte (0);
    return block;
}

/** The tree a container holds, or an invalid tree. */
inline juce::ValueTree treeOf (const juce::MemoryBlock& state)
{
    if (const auto xml = juce::AudioProcessor::getXmlFromBinary (state.getData(), (int) state.getSize()))
        return juce::ValueTree::fromXml (*xml);
    return {};
}

inline tarn::SequenceNote noteOnRow (int row, int timestamp, int length = 240, int velocity = 100)
{
    tarn::SequenceNote note;
    note.number = row;
    note.timestamp = timestamp;
    note.length = length;
    note.velocityMin = note.velocityMax = velocity;
    return note;
}

} // namespace cadenzium::test

#pragma once

#include <source/commands/EditCommands.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/sequence/SequenceSerialisation.h>
#include <tests/support/Phrases.h>
#include <tests/support/StateContainer.h>

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

/** The tree a container holds, or an invalid tree. */
inline juce::ValueTree treeOf (const juce::MemoryBlock& state)
{
    if (const auto xml = juce::AudioProcessor::getXmlFromBinary (state.getData(), (int) state.getSize()))
        return juce::ValueTree::fromXml (*xml);
    return {};
}

} // namespace cadenzium::test

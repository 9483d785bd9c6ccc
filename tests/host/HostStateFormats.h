#pragma once

#include <juce_core/juce_core.h>

#include <optional>

namespace cadenzium::test
{

/** A VST3 preset as hosts store it (".vstpreset"): "VST3", version 1, the class ID as 32
    characters, the offset of the chunk list, the chunks, then "List" with each chunk's ID,
    offset and size. The plug-in's own state is the "Comp" chunk. */
namespace Vst3Preset
{
    /** The "Comp" chunk, or nothing when the data is not such a preset. */
    std::optional<juce::MemoryBlock> componentState (const juce::MemoryBlock& preset);

    /** A preset of the same class holding only `state` as its "Comp" chunk. */
    std::optional<juce::MemoryBlock> withComponentState (const juce::MemoryBlock& preset, const juce::MemoryBlock& state);
} // namespace Vst3Preset

/** JUCE's LV2 plug-ins keep their state as one string property "<plug-in URI>:StateString",
    the state in the framework's base-64 form; hosts write it into a Turtle file. */
namespace Lv2StateFile
{
    std::optional<juce::MemoryBlock> state (const juce::String& turtle, const juce::String& pluginUri);
    std::optional<juce::String> withState (const juce::String& turtle, const juce::String& pluginUri, const juce::MemoryBlock& state);
} // namespace Lv2StateFile

} // namespace cadenzium::test

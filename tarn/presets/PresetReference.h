#pragma once

#include <juce_core/juce_core.h>

namespace tarn
{

/** How a song names the preset it was made from, so that it finds the preset again on
    another machine or under another home: the preset's path below its library root, led by
    the root's label ("Factory/Arpeggios/Rising Eighths.bpre", "User/Mine.bpre").

    Songs saved before this form hold the preset's absolute path. Those still read: as
    they are where the file is still there, and otherwise by the part below their
    ".../Presets/Factory" or ".../Presets/User" folder, wherever the library lives now. */
namespace PresetReference
{
    /** The reference to a preset file; its absolute path when it lies under neither root. */
    juce::String make (const juce::File& presetFile, const juce::File& factoryRoot, const juce::File& userRoot);

    /** The files a reference can stand for in this library, the likeliest first. Nothing
        for an empty reference or one that climbs out of its root. */
    juce::Array<juce::File> resolve (const juce::String& reference, const juce::File& factoryRoot, const juce::File& userRoot);
} // namespace PresetReference

} // namespace tarn

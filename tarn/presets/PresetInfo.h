#pragma once

#include <juce_data_structures/juce_data_structures.h>

namespace tarn
{

/** One entry of the preset library's flat list: what the browser, the top bar and the
    host's program list show. A plain value. */
struct PresetInfo
{
    juce::String name;
    int index = 0; // position in the flat list, and the host's program number
    bool isFactory = false;
    juce::String author;
    juce::StringArray categories;
    juce::String path; // empty for the Initial Patch
    juce::String description;

    static constexpr const char* initialPatchName = "Initial Patch";

    /** The entry that stands for the plug-in's default state. */
    static PresetInfo makeInitialPatch();

    /** The entry for a "preset" node of the index tree. */
    static PresetInfo fromIndexNode (const juce::ValueTree& presetNode);

    /** "Bass, Arp,,Pad " -> { "Bass", "Arp", "Pad" }: split at ",", trimmed, empty pieces dropped. */
    static juce::StringArray parseCategories (const juce::String& text);

    bool isInitialPatch() const noexcept { return path.isEmpty() && name == initialPatchName; }

    bool operator== (const PresetInfo& other) const noexcept;
    bool operator!= (const PresetInfo& other) const noexcept { return ! operator== (other); }
};

} // namespace tarn

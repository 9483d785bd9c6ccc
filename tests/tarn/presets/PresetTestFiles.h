#pragma once

#include <juce_core/juce_core.h>

namespace cadenzium::test
{

/** Writes a small preset file (creating its folders): an XML document whose root has
    the given tag and attributes, with one parameter child. */
inline juce::File writePresetFile (const juce::File& file,
                                   const juce::String& tag = "cadenzium2",
                                   const juce::StringPairArray& attributes = {})
{
    juce::XmlElement root (tag);

    for (const auto& key : attributes.getAllKeys())
        root.setAttribute (key, attributes[key]);

    auto* param = root.createNewChildElement ("PARAM");
    param->setAttribute ("id", "swing_amount");
    param->setAttribute ("value", 0.0);

    file.getParentDirectory().createDirectory();
    file.replaceWithText (root.toString());
    return file;
}

inline juce::StringPairArray presetAttributes (const juce::String& author,
                                               const juce::String& categories,
                                               const juce::String& description)
{
    juce::StringPairArray attributes;
    attributes.set ("author", author);
    attributes.set ("categories", categories);
    attributes.set ("description", description);
    return attributes;
}

} // namespace cadenzium::test

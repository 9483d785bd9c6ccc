#pragma once

#include <juce_data_structures/juce_data_structures.h>

#include <optional>

namespace tarn
{

/** A value tree as the single-line XML text the framework writes for it, without building
    an XmlElement on the way out or in. A host saves and restores a song's whole state this
    way, often and on its own thread, and the detour through an element tree was most of the
    time those calls took.

    The text is byte for byte what ValueTree::createXml() and XmlElement::writeTo() with
    TextFormat().singleLine() produce, so songs saved before read and compare the same.
    The reader takes only that exact form (all ASCII, one space before each attribute, only
    the references the writer makes); anything else is left to the careful general path
    (SafeXml and the framework's parser), which decides what such text means.
*/
namespace ValueTreeText
{
    /** Appends the XML declaration and the tree. False, with part of the text already
        written, when a property holds binary data or another value XML cannot hold: the
        caller then writes the tree the general way. [any thread] */
    bool write (const juce::ValueTree& tree, juce::OutputStream& output);

    /** write() with one property of the document element given another value, as a copy of
        the tree with that property set would be written (in place when the tree has it,
        otherwise after the others). [any thread] */
    bool write (const juce::ValueTree& tree,
                const juce::Identifier& extraProperty,
                const juce::var& extraValue,
                juce::OutputStream& output);

    /** The tree the framework's parser followed by ValueTree::fromXml would make of the text,
        or nothing when the text is not in the exact form write() produces (it may still be
        good XML), when it repeats an attribute, nests deeper than SafeXml::maxDepth, or
        names an attribute the framework would read as binary data. [any thread] */
    std::optional<juce::ValueTree> read (const char* text, size_t numBytes);
} // namespace ValueTreeText

} // namespace tarn

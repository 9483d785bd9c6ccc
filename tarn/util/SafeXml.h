#pragma once

#include <juce_core/juce_core.h>

#include <memory>

namespace tarn
{

/** Parsing XML that comes from outside (preset files, first-version presets, a host's
    saved state).

    The framework's parser expands entities declared in a document type definition
    recursively (a few hundred bytes can expand without end), reads files named by
    external entities, loops forever on a processing instruction followed by text
    inside an element, reads past the end of the text after a numeric character
    reference cut short, and recurses once per nesting level. None of our formats uses
    a document type, a processing instruction besides the XML declaration, or deep
    nesting, so such documents are refused before they reach the parser.
*/
namespace SafeXml
{
    /** Deeper documents are refused; our trees nest about six levels. */
    constexpr int maxDepth = 64;

    /** The document element (only its start tag when onlyOuterElement), or nullptr when
        the text is not well-formed XML, declares a document type, holds a processing
        instruction after the XML declaration or an incomplete numeric character
        reference, or nests too deeply. [any thread] */
    std::unique_ptr<juce::XmlElement> parse (const juce::String& text, bool onlyOuterElement = false);

    /** True when the text declares no document type, has no processing instruction
        but a leading XML declaration, no incomplete numeric character reference, and
        nests no element deeper than maxDepth. */
    bool isAcceptable (const juce::String& text);
} // namespace SafeXml

} // namespace tarn

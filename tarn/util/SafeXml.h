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
    inside an element, parses the name of an unknown entity as markup, reads past the
    end of the text after a numeric character reference cut short, and recurses once
    per nesting level. Our formats use none of these (only the five predefined
    entities and numeric references, only the XML declaration, shallow trees), so such
    documents are refused before they reach the parser.
*/
namespace SafeXml
{
    /** Deeper documents are refused; our trees nest about six levels. */
    constexpr int maxDepth = 64;

    /** The document element (only its start tag when onlyOuterElement), or nullptr when
        the text is not well-formed XML (a cut-off document or a repeated attribute included),
        or uses what isAcceptable() refuses.
        [any thread] */
    std::unique_ptr<juce::XmlElement> parse (const juce::String& text, bool onlyOuterElement = false);

    /** True when the document element parsed from the text is closed where the text ends:
        the framework's parser returns what it has read of a cut-off document. */
    bool isComplete (const juce::String& text, const juce::XmlElement& documentElement);

    /** True when an element (this one or one inside it) names an attribute twice, which
        well-formed XML never does. */
    bool repeatsAnAttribute (const juce::XmlElement& element);

    /** True when the text declares no document type, has no processing instruction but
        a leading XML declaration, refers only to the five predefined entities or to
        complete numeric references, and nests no element deeper than maxDepth. */
    bool isAcceptable (const juce::String& text);
} // namespace SafeXml

} // namespace tarn

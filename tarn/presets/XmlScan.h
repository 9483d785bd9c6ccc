#pragma once

#include <cstddef>
#include <cstdint>

namespace tarn
{

/** A quick check that a document reads whole, without building anything: for indexing a
    large preset library, where parsing every file into elements would take seconds.

    It is stricter than the framework's parser and refuses everything SafeXml refuses, so a
    document it passes parses with SafeXml::parse: well-formed XML with ASCII names, an
    optional leading XML declaration and no other processing instruction, no document type,
    only the five predefined entities and complete numeric references, every element closed
    by its own name, no attribute named twice in one element, nesting no deeper than
    SafeXml::maxDepth, and nothing but white space after the document element.
*/
namespace XmlScan
{
    struct Result
    {
        bool readsWhole = false;

        /** Where the document element's start tag ends (one past its '>'), for reading the
            element's name and attributes from just that much of the text. */
        size_t startTagEnd = 0;
    };

    /** Checks UTF-8 text (after any byte-order mark). [any thread] */
    Result scan (const char* text, size_t size);
} // namespace XmlScan

} // namespace tarn

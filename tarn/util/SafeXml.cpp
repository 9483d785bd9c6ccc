#include "SafeXml.h"

#include <string_view>

namespace tarn::SafeXml
{
namespace
{
    // Every pattern below is ASCII, and no byte of a multi-byte UTF-8 character is, so
    // the checks can run over the raw bytes.
    using Bytes = std::string_view;

    char lowerCase (char c) noexcept
    {
        return c >= 'A' && c <= 'Z' ? (char) (c - 'A' + 'a') : c;
    }

    bool containsIgnoringCase (Bytes text, Bytes lowerCasePattern) noexcept
    {
        for (auto at = text.find ('<'); at != Bytes::npos; at = text.find ('<', at + 1))
        {
            if (text.size() - at < lowerCasePattern.size())
                return false;

            size_t i = 0;

            while (i < lowerCasePattern.size() && lowerCase (text[at + i]) == lowerCasePattern[i])
                ++i;

            if (i == lowerCasePattern.size())
                return true;
        }

        return false;
    }

    bool isHexDigit (char c) noexcept
    {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    }

    bool isDigit (char c) noexcept
    {
        return c >= '0' && c <= '9';
    }

    /** Every "&" starts "&amp;", "&quot;", "&apos;", "&lt;", "&gt;" or a complete
        numeric reference ("&#123;", "&#x1F;"), as the framework's writer produces. The
        framework's reader parses the name of an unknown entity as markup when it starts
        with "<", and steps past the end of the text on a hexadecimal reference cut short. */
    bool referencesAreSimple (Bytes text) noexcept
    {
        for (auto at = text.find ('&'); at != Bytes::npos; at = text.find ('&', at + 1))
        {
            const auto rest = text.substr (at + 1);

            if (rest.rfind ("amp;", 0) == 0 || rest.rfind ("quot;", 0) == 0 || rest.rfind ("apos;", 0) == 0
                || rest.rfind ("lt;", 0) == 0 || rest.rfind ("gt;", 0) == 0)
                continue;

            if (rest.empty() || rest[0] != '#')
                return false;

            size_t i = 1;
            const bool hex = i < rest.size() && (rest[i] == 'x' || rest[i] == 'X');

            if (hex)
                ++i;

            const auto firstDigit = i;

            while (i < rest.size() && (hex ? isHexDigit (rest[i]) : isDigit (rest[i])))
                ++i;

            const auto digits = i - firstDigit;

            if (digits == 0 || digits > (hex ? 8u : 12u) || i >= rest.size() || rest[i] != ';')
                return false;
        }

        return true;
    }

    /** Only a leading XML declaration: the framework's parser never gets past a
        processing instruction that is followed by text inside an element. Anywhere else
        "<?" is either such an instruction or not well-formed. */
    bool hasOnlyALeadingDeclaration (Bytes text) noexcept
    {
        const auto first = text.find ("<?");

        if (first == Bytes::npos)
            return true;

        if (text.find_first_not_of (" \t\r\n") != first)
            return false;

        return text.find ("<?", first + 2) == Bytes::npos;
    }

    /** Whether elements nest deeper than maxDepth. Start tags are read twice, once with
        quoted attribute values skipped (right for well-formed text) and once without
        (so that stray quotes in broken text cannot hide tags the parser would still
        descend into); either count over the limit refuses the text. */
    bool nestsTooDeeply (Bytes text, bool honourQuotes) noexcept
    {
        int depth = 0;
        size_t i = 0;
        const auto n = text.size();

        // Moves i past the next `end`; false (the parser stops there too) when there is none.
        auto skipPast = [&] (Bytes end)
        {
            const auto found = text.find (end, i);

            if (found == Bytes::npos)
                return false;

            i = found + end.size();
            return true;
        };

        while ((i = text.find ('<', i)) != Bytes::npos)
        {
            const auto rest = text.substr (i);

            if (rest.rfind ("<!--", 0) == 0)
            {
                if (! skipPast ("-->"))
                    return false;
                continue;
            }

            if (rest.rfind ("<![CDATA[", 0) == 0)
            {
                if (! skipPast ("]]>"))
                    return false;
                continue;
            }

            if (rest.rfind ("<?", 0) == 0 || rest.rfind ("<!", 0) == 0)
            {
                if (! skipPast (">"))
                    return false;
                continue;
            }

            if (rest.rfind ("</", 0) == 0)
            {
                --depth;

                if (! skipPast (">"))
                    return false;
                continue;
            }

            char quote = 0, previous = 0;

            for (++i;; ++i)
            {
                if (i >= n)
                    return false;

                const auto c = text[i];

                if (quote != 0)
                {
                    if (c == quote)
                        quote = 0;
                }
                else if (honourQuotes && (c == '"' || c == '\''))
                {
                    quote = c;
                }
                else if (c == '>')
                {
                    break;
                }

                previous = c;
            }

            ++i;

            if (previous != '/' && ++depth > maxDepth)
                return true;
        }

        return false;
    }
} // namespace

bool isAcceptable (const juce::String& text)
{
    const Bytes bytes (text.toRawUTF8());

    return ! containsIgnoringCase (bytes, "<!doctype")
           && ! containsIgnoringCase (bytes, "<!entity")
           && hasOnlyALeadingDeclaration (bytes)
           && referencesAreSimple (bytes)
           && ! nestsTooDeeply (bytes, true)
           && ! nestsTooDeeply (bytes, false);
}

std::unique_ptr<juce::XmlElement> parse (const juce::String& text, bool onlyOuterElement)
{
    if (! isAcceptable (text))
        return nullptr;

    auto element = juce::XmlDocument (text).getDocumentElement (onlyOuterElement);

    if (element == nullptr || onlyOuterElement || (isComplete (text, *element) && ! repeatsAnAttribute (*element)))
        return element;

    return nullptr;
}

bool repeatsAnAttribute (const juce::XmlElement& element)
{
    // The framework's parser keeps both of <a id="x" id="y"/>; a tree made from it reads one
    // and writes the other, so what loads is not what saves.
    const auto count = element.getNumAttributes();

    for (int i = 1; i < count; ++i)
        for (int j = 0; j < i; ++j)
            if (element.getAttributeName (i) == element.getAttributeName (j))
                return true;

    for (const auto* child : element.getChildIterator())
        if (repeatsAnAttribute (*child))
            return true;

    return false;
}

bool isComplete (const juce::String& text, const juce::XmlElement& documentElement)
{
    // The framework's parser stops quietly at the end of the text, inside the closing tags
    // of a cut-off document: the document element must be closed where the text ends.
    const auto end = text.trimEnd();

    if (end.endsWith ("</" + documentElement.getTagName() + ">"))
        return true;

    return end.endsWith ("/>") && documentElement.getFirstChildElement() == nullptr;
}

} // namespace tarn::SafeXml

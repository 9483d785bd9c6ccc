#include "SafeXml.h"

#include <cstring>

namespace tarn::SafeXml
{
namespace
{
    bool startsWith (juce::String::CharPointerType p, const char* prefix) noexcept
    {
        return juce::CharacterFunctions::compareUpTo (p, juce::CharPointer_ASCII (prefix), (int) std::strlen (prefix)) == 0;
    }

    /** Moves p past the next occurrence of `end`; false when there is none. */
    bool skipPast (juce::String::CharPointerType& p, const char* end) noexcept
    {
        const auto length = (int) std::strlen (end);

        for (; ! p.isEmpty(); ++p)
        {
            if (startsWith (p, end))
            {
                p += length;
                return true;
            }
        }

        return false;
    }
} // namespace

bool isAcceptable (const juce::String& text)
{
    if (text.containsIgnoreCase ("<!DOCTYPE") || text.containsIgnoreCase ("<!ENTITY"))
        return false;

    int depth = 0;
    bool seenMarkup = false;
    auto p = text.getCharPointer();

    while (! p.isEmpty())
    {
        if (*p != '<')
        {
            ++p;
            continue;
        }

        if (startsWith (p, "<!--"))
        {
            if (! skipPast (p, "-->"))
                return true; // unterminated: the parser will refuse it
            continue;
        }

        if (startsWith (p, "<![CDATA["))
        {
            if (! skipPast (p, "]]>"))
                return true;
            continue;
        }

        if (startsWith (p, "<?"))
        {
            // Only the XML declaration: the framework's parser never gets past a
            // processing instruction followed by text inside an element.
            if (seenMarkup)
                return false;

            seenMarkup = true;

            if (! skipPast (p, "?>"))
                return true;
            continue;
        }

        seenMarkup = true;

        if (startsWith (p, "<!"))
        {
            if (! skipPast (p, ">"))
                return true;
            continue;
        }

        if (startsWith (p, "</"))
        {
            --depth;

            if (! skipPast (p, ">"))
                return true;
            continue;
        }

        // A start tag: skip its attributes (a '>' inside quotes is text).
        ++p;
        juce::juce_wchar quote = 0;
        juce::juce_wchar previous = 0;

        while (! p.isEmpty())
        {
            const auto c = *p;

            if (quote != 0)
            {
                if (c == quote)
                    quote = 0;
            }
            else if (c == '"' || c == '\'')
            {
                quote = c;
            }
            else if (c == '>')
            {
                break;
            }

            previous = c;
            ++p;
        }

        if (p.isEmpty())
            return true;

        ++p;

        if (previous != '/' && ++depth > maxDepth)
            return false;
    }

    return true;
}

std::unique_ptr<juce::XmlElement> parse (const juce::String& text, bool onlyOuterElement)
{
    if (! isAcceptable (text))
        return nullptr;

    return juce::XmlDocument (text).getDocumentElement (onlyOuterElement);
}

} // namespace tarn::SafeXml

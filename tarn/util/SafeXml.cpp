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

namespace
{
    /** Whether elements nest deeper than maxDepth. Start tags are read twice, once with
        quoted attribute values skipped (right for well-formed text) and once without
        (so that stray quotes in broken text cannot hide tags the parser would still
        descend into); either count over the limit refuses the text. */
    bool nestsTooDeeply (const juce::String& text, bool honourQuotes)
    {
        int depth = 0;
        auto p = text.getCharPointer();

        while (! p.isEmpty())
        {
            if (*p != '<')
            {
                ++p;
                continue;
            }

            // Anything unterminated ends the parser's reading there too.
            if (startsWith (p, "<!--"))
            {
                if (! skipPast (p, "-->"))
                    return false;
                continue;
            }

            if (startsWith (p, "<![CDATA["))
            {
                if (! skipPast (p, "]]>"))
                    return false;
                continue;
            }

            if (startsWith (p, "<?") || startsWith (p, "<!"))
            {
                if (! skipPast (p, ">"))
                    return false;
                continue;
            }

            if (startsWith (p, "</"))
            {
                --depth;

                if (! skipPast (p, ">"))
                    return false;
                continue;
            }

            ++p;
            juce::juce_wchar quote = 0;
            juce::juce_wchar previous = 0;

            for (;; ++p)
            {
                const auto c = *p;

                if (c == 0)
                    return false;

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

            ++p;

            if (previous != '/' && ++depth > maxDepth)
                return true;
        }

        return false;
    }
} // namespace

namespace
{
    /** "&#123;" or "&#x1F;": the framework's reader steps past the end of the text on a
        hexadecimal reference cut short, so every numeric reference must be complete. */
    bool characterReferencesAreComplete (const juce::String& text)
    {
        for (auto start = text.indexOf ("&#"); start >= 0; start = text.indexOf (start + 2, "&#"))
        {
            auto p = text.getCharPointer() + start + 2;
            const bool hex = *p == 'x' || *p == 'X';

            if (hex)
                ++p;

            int digits = 0;

            for (; hex ? juce::CharacterFunctions::getHexDigitValue (*p) >= 0 : (*p >= '0' && *p <= '9'); ++p)
                ++digits;

            if (digits == 0 || digits > (hex ? 8 : 12) || *p != ';')
                return false;
        }

        return true;
    }
} // namespace

bool isAcceptable (const juce::String& text)
{
    if (! characterReferencesAreComplete (text))
        return false;

    if (text.containsIgnoreCase ("<!DOCTYPE") || text.containsIgnoreCase ("<!ENTITY"))
        return false;

    // Only a leading XML declaration: the framework's parser never gets past a
    // processing instruction that is followed by text inside an element. Anywhere else
    // "<?" is either such an instruction or not well-formed, so the text is refused.
    const auto declaration = text.indexOf ("<?");

    if (declaration >= 0
        && (text.substring (0, declaration).containsNonWhitespaceChars() || text.indexOf (declaration + 2, "<?") >= 0))
        return false;

    return ! nestsTooDeeply (text, true) && ! nestsTooDeeply (text, false);
}

std::unique_ptr<juce::XmlElement> parse (const juce::String& text, bool onlyOuterElement)
{
    if (! isAcceptable (text))
        return nullptr;

    return juce::XmlDocument (text).getDocumentElement (onlyOuterElement);
}

} // namespace tarn::SafeXml

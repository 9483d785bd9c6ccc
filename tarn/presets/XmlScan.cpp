#include "XmlScan.h"

#include <tarn/util/SafeXml.h>

#include <array>
#include <cstring>
#include <string_view>
#include <unordered_set>

namespace tarn::XmlScan
{
namespace
{
    bool isWhitespace (char c) noexcept
    {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n';
    }

    /** The characters the framework's parser takes into names, ASCII only. */
    constexpr std::array<bool, 256> makeNameTable()
    {
        std::array<bool, 256> table {};

        for (int c = 0; c < 256; ++c)
            table[(size_t) c] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'
                                || c == '-' || c == ':' || c == '.';

        return table;
    }

    /** What ends the plain run of an attribute value: its quotes, a reference, or what may
        not appear in it. */
    constexpr std::array<bool, 256> makeValueStopTable()
    {
        std::array<bool, 256> table {};

        for (char c : { '"', '\'', '&', '<', '>', '\0' })
            table[(unsigned char) c] = true;

        return table;
    }

    constexpr auto nameTable = makeNameTable();
    constexpr auto valueStopTable = makeValueStopTable();

    bool isNameCharacter (char c) noexcept
    {
        return nameTable[(unsigned char) c];
    }

    bool isDigit (char c, bool hex) noexcept
    {
        return (c >= '0' && c <= '9') || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
    }

    class Scanner
    {
    public:
        Scanner (const char* text, size_t size) noexcept
            : p (text)
            , begin (text)
            , end (text + size)
        {
        }

        Result run()
        {
            Result result;
            skipWhitespace();

            if (startsWith ("<?xml") && ! skipDeclaration())
                return result;

            // Comments may come before the document element.
            for (skipWhitespace(); startsWith ("<!--"); skipWhitespace())
                if (! skipPast ("-->", 4, true))
                    return result;

            if (! startsWith ("<") || ! readStartTag())
                return result;

            result.startTagEnd = (size_t) (p - begin);

            if (depth > 0 && ! readContent())
                return result;

            skipWhitespace();
            result.readsWhole = p == end;
            return result;
        }

    private:
        bool startsWith (std::string_view s) const noexcept
        {
            return (size_t) (end - p) >= s.size() && std::memcmp (p, s.data(), s.size()) == 0;
        }

        // The hot loops run on a local copy of the position: bytes read through a char
        // pointer could alias the scanner itself, so the member would be stored every step.
        void skipWhitespace() noexcept
        {
            auto q = p;

            while (q < end && isWhitespace (*q))
                ++q;

            p = q;
        }

        /** "&amp;", "&quot;", "&apos;", "&lt;", "&gt;" or a complete numeric reference. */
        bool readReference() noexcept
        {
            ++p;

            for (std::string_view name : { "amp;", "quot;", "apos;", "lt;", "gt;" })
            {
                if (startsWith (name))
                {
                    p += name.size();
                    return true;
                }
            }

            if (p == end || *p != '#')
                return false;

            ++p;
            const bool hex = p < end && (*p == 'x' || *p == 'X');
            p += hex ? 1 : 0;

            const auto digits = p;

            while (p < end && isDigit (*p, hex))
                ++p;

            const auto count = p - digits;

            if (count == 0 || count > (hex ? 8 : 12) || p == end || *p != ';')
                return false;

            ++p;
            return true;
        }

        /** Text up to `stop`, where every reference is complete and no zero byte or other
            markup start appears. */
        bool checkText (const char* stop, bool allowLessThan) noexcept
        {
            while (p < stop)
            {
                const auto c = *p;

                if (c == '&')
                {
                    if (! readReference() || p > stop)
                        return false;

                    continue;
                }

                if (c == 0 || (c == '<' && (! allowLessThan || (p + 1 < stop && (p[1] == '!' || p[1] == '?')))))
                    return false;

                ++p;
            }

            return true;
        }

        /** Moves past the next `terminator`, checking what lies before it. */
        bool skipPast (std::string_view terminator, size_t opening, bool isMarkup) noexcept
        {
            p += opening;
            const auto found = std::string_view (p, (size_t) (end - p)).find (terminator);

            if (found == std::string_view::npos)
                return false;

            const auto stop = p + found;

            if (! checkText (stop, isMarkup))
                return false;

            p = stop + terminator.size();
            return true;
        }

        bool skipDeclaration() noexcept
        {
            return skipPast ("?>", 5, false);
        }

        std::string_view readName() noexcept
        {
            const auto start = p;
            auto q = p;

            while (q < end && isNameCharacter (*q))
                ++q;

            p = q;
            return { start, (size_t) (q - start) };
        }

        bool readAttributeValue() noexcept
        {
            if (p == end || (*p != '"' && *p != '\''))
                return false;

            const auto quote = *p++;

            for (;;)
            {
                auto q = p;

                while (q < end && ! valueStopTable[(unsigned char) *q])
                    ++q;

                p = q;

                if (p == end)
                    return false;

                const auto c = *p;

                if (c == quote)
                {
                    ++p;
                    return true;
                }

                if (c == '&')
                {
                    if (! readReference())
                        return false;
                }
                else if (c == '"' || c == '\'')
                {
                    ++p; // the other quote, inside the value
                }
                else
                {
                    return false;
                }
            }
        }

        /** A name not yet used by this element. A bit per name spares most comparisons; an
            element with very many attributes is checked through a set. */
        bool isNewAttribute (std::string_view name)
        {
            if (numAttributes == attributeNames.size())
            {
                if (attributeSet.empty())
                    attributeSet.insert (attributeNames.begin(), attributeNames.end());

                return attributeSet.insert (name).second;
            }

            const auto bit = (std::uint64_t) 1 << ((name.size() * 31u + (unsigned char) name.back()) % 64u);

            if ((attributeBits & bit) != 0)
                for (size_t i = 0; i < numAttributes; ++i)
                    if (attributeNames[i] == name)
                        return false;

            attributeBits |= bit;
            attributeNames[numAttributes++] = name;
            return true;
        }

        /** At '<': the element's name and attributes. An element left open is pushed. */
        bool readStartTag()
        {
            ++p;
            const auto name = readName();

            if (name.empty())
                return false;

            numAttributes = 0;

            if (! attributeSet.empty())
                attributeSet.clear();
            attributeBits = 0;

            for (;;)
            {
                const auto before = p;
                skipWhitespace();

                if (p == end)
                    return false;

                if (*p == '/')
                {
                    if (p + 1 == end || p[1] != '>')
                        return false;

                    p += 2;
                    return true;
                }

                if (*p == '>')
                {
                    ++p;

                    if (depth == SafeXml::maxDepth)
                        return false;

                    openNames[(size_t) depth++] = name;
                    return true;
                }

                if (p == before)
                    return false; // attributes are set apart by white space

                const auto attribute = readName();

                if (attribute.empty() || ! isNewAttribute (attribute))
                    return false;

                skipWhitespace();

                if (p == end || *p != '=')
                    return false;

                ++p;
                skipWhitespace();

                if (! readAttributeValue())
                    return false;
            }
        }

        /** The content of the open elements, until the document element closes. */
        bool readContent()
        {
            while (depth > 0)
            {
                const auto next = static_cast<const char*> (std::memchr (p, '<', (size_t) (end - p)));

                if (next == nullptr || ! checkText (next, false))
                    return false;

                if (startsWith ("</"))
                {
                    p += 2;
                    const auto name = readName();

                    // Closed by its own name, with nothing before the '>': a cut-off check
                    // compares the document's last characters with exactly that.
                    if (name != openNames[(size_t) depth - 1] || p == end || *p != '>')
                        return false;

                    ++p;
                    --depth;
                }
                else if (startsWith ("<!--"))
                {
                    if (! skipPast ("-->", 4, true))
                        return false;
                }
                else if (startsWith ("<![CDATA["))
                {
                    if (! skipPast ("]]>", 9, true))
                        return false;
                }
                else if (startsWith ("<!") || startsWith ("<?") || ! readStartTag())
                {
                    return false;
                }
            }

            return true;
        }

        const char* p;
        const char* const begin;
        const char* const end;

        std::array<std::string_view, SafeXml::maxDepth> openNames {};
        int depth = 0;

        std::array<std::string_view, 64> attributeNames {};
        size_t numAttributes = 0;
        std::unordered_set<std::string_view> attributeSet; // beyond the first 64
        std::uint64_t attributeBits = 0;
    };
} // namespace

Result scan (const char* text, size_t size)
{
    return Scanner (text, size).run();
}

} // namespace tarn::XmlScan

#include "ValueTreeText.h"

#include "SafeXml.h"

#include <array>
#include <string>
#include <unordered_map>
#include <vector>

namespace tarn::ValueTreeText
{
namespace
{
    constexpr std::string_view declaration { "<?xml version=\"1.0\" encoding=\"UTF-8\"?> " };

    /** The characters the framework's writer puts into attribute values as they are. */
    constexpr std::array<bool, 128> makeLegalTable()
    {
        std::array<bool, 128> table {};

        for (int c = 'a'; c <= 'z'; ++c)
            table[(size_t) c] = true;

        for (int c = 'A'; c <= 'Z'; ++c)
            table[(size_t) c] = true;

        for (int c = '0'; c <= '9'; ++c)
            table[(size_t) c] = true;

        for (char c : std::string_view (" .,;:-()_+=?!$#@[]/|*%~{}'\\"))
            table[(size_t) c] = true;

        return table;
    }

    constexpr auto legal = makeLegalTable();

    bool isLegal (juce::uint32 c) noexcept
    {
        return c < legal.size() && legal[c];
    }

    /** The characters the framework's parser takes into tag and attribute names. */
    bool isNameCharacter (char c) noexcept
    {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-'
               || c == ':' || c == '.';
    }

    //==============================================================================
    void appendText (std::string& out, const juce::String& text)
    {
        out.append (text.toRawUTF8(), text.getNumBytesAsUTF8());
    }

    /** As the framework escapes an attribute value: newlines too become references. */
    void appendEscaped (std::string& out, const juce::String& text)
    {
        auto t = text.getCharPointer();

        for (;;)
        {
            const auto character = (juce::uint32) t.getAndAdvance();

            if (character == 0)
                return;

            if (isLegal (character))
            {
                out.push_back ((char) character);
                continue;
            }

            switch (character)
            {
                case '&':
                    out.append ("&amp;");
                    break;
                case '"':
                    out.append ("&quot;");
                    break;
                case '>':
                    out.append ("&gt;");
                    break;
                case '<':
                    out.append ("&lt;");
                    break;
                default:
                    out.append ("&#");
                    out.append (std::to_string ((int) character));
                    out.push_back (';');
                    break;
            }
        }
    }

    bool appendAttribute (std::string& out, const juce::Identifier& name, const juce::var& value)
    {
        // The framework stores binary data under a renamed attribute; such trees go the
        // general way.
        if (value.isBinaryData())
            return false;

        out.push_back (' ');
        appendText (out, name.toString());
        out.append ("=\"");
        appendEscaped (out, value.toString());
        out.push_back ('"');
        return true;
    }

    bool appendElement (std::string& out, const juce::ValueTree& tree, const juce::Identifier* extraProperty, const juce::var* extraValue)
    {
        out.push_back ('<');
        appendText (out, tree.getType().toString());

        auto extraWritten = extraProperty == nullptr;

        for (int i = 0; i < tree.getNumProperties(); ++i)
        {
            const auto name = tree.getPropertyName (i);
            const auto useExtra = ! extraWritten && name == *extraProperty;
            extraWritten = extraWritten || useExtra;

            if (! appendAttribute (out, name, useExtra ? *extraValue : tree.getProperty (name)))
                return false;
        }

        if (! extraWritten && ! appendAttribute (out, *extraProperty, *extraValue))
            return false;

        if (tree.getNumChildren() == 0)
        {
            out.append ("/>");
            return true;
        }

        out.push_back ('>');

        for (const auto& child : tree)
            if (! appendElement (out, child, nullptr, nullptr))
                return false;

        out.append ("</");
        appendText (out, tree.getType().toString());
        out.push_back ('>');
        return true;
    }

    bool writeDocument (const juce::ValueTree& tree, const juce::Identifier* extraProperty, const juce::var* extraValue, juce::OutputStream& output)
    {
        if (! tree.isValid())
            return false;

        std::string out;
        out.reserve (64 * 1024);
        out.append (declaration);

        if (! appendElement (out, tree, extraProperty, extraValue))
            return false;

        return output.write (out.data(), out.size());
    }

    //==============================================================================
    /** Reads the exact form the writer makes. Every refusal means "not that form". */
    class Reader
    {
    public:
        Reader (const char* textToRead, size_t numBytes)
            : text (textToRead)
            , end (textToRead + numBytes)
        {
        }

        std::optional<juce::ValueTree> readDocument()
        {
            if ((size_t) (end - text) < declaration.size() || std::string_view (text, declaration.size()) != declaration)
                return std::nullopt;

            // Only ASCII without zeros: the text means the same to every decoder, and a zero
            // (where the framework's reader stops) cannot hide in it.
            for (auto* c = text; c != end; ++c)
                if (const auto byte = (unsigned char) *c; byte == 0 || byte >= 0x80)
                    return std::nullopt;

            pos = text + declaration.size();
            juce::ValueTree tree;

            if (! readElement (tree, 1) || pos != end)
                return std::nullopt;

            return tree;
        }

    private:
        bool skip (std::string_view expected)
        {
            if ((size_t) (end - pos) < expected.size() || std::string_view (pos, expected.size()) != expected)
                return false;

            pos += expected.size();
            return true;
        }

        std::string_view readName()
        {
            const auto* start = pos;

            while (pos != end && isNameCharacter (*pos))
                ++pos;

            return { start, (size_t) (pos - start) };
        }

        static juce::String toString (std::string_view s)
        {
            return juce::String (juce::CharPointer_UTF8 (s.data()), juce::CharPointer_UTF8 (s.data() + s.size()));
        }

        /** A numeric reference as the writer makes them: "&#" decimal digits ";". */
        bool readNumericReference (juce::String& value)
        {
            if (! skip ("&#"))
                return false;

            juce::int64 code = 0;
            int digits = 0;

            while (pos != end && *pos >= '0' && *pos <= '9' && digits < 7)
            {
                code = code * 10 + (*pos++ - '0');
                ++digits;
            }

            if (digits == 0 || ! skip (";"))
                return false;

            value << (juce::juce_wchar) code;
            return true;
        }

        std::optional<juce::var> readValue()
        {
            const auto* start = pos;

            while (pos != end && *pos != '"' && *pos != '&')
            {
                if (! isLegal ((juce::uint32) (unsigned char) *pos))
                    return std::nullopt;

                ++pos;
            }

            if (pos == end)
                return std::nullopt;

            if (*pos == '"')
                return juce::var (plainValue ({ start, (size_t) (pos++ - start) }));

            // References: built as the framework's reader builds them.
            juce::String value (toString ({ start, (size_t) (pos - start) }));

            for (;;)
            {
                if (pos == end)
                    return std::nullopt;

                if (*pos == '"')
                {
                    ++pos;
                    return juce::var (value);
                }

                if (*pos == '&')
                {
                    if (skip ("&amp;"))
                        value << '&';
                    else if (skip ("&quot;"))
                        value << '"';
                    else if (skip ("&apos;"))
                        value << '\'';
                    else if (skip ("&lt;"))
                        value << '<';
                    else if (skip ("&gt;"))
                        value << '>';
                    else if (! readNumericReference (value))
                        return std::nullopt;

                    continue;
                }

                const auto* runStart = pos;

                while (pos != end && *pos != '"' && *pos != '&')
                {
                    if (! isLegal ((juce::uint32) (unsigned char) *pos))
                        return std::nullopt;

                    ++pos;
                }

                value.appendCharPointer (juce::CharPointer_UTF8 (runStart), juce::CharPointer_UTF8 (pos));
            }
        }

        /** The names of a state repeat thousands of times: each is looked up in the
            framework's string pool (under its lock) only once. */
        juce::Identifier identifierFor (std::string_view name)
        {
            for (const auto& known : identifiers)
                if (known.first == name)
                    return known.second;

            const juce::Identifier id (toString (name));

            // Our states use a few dozen names; a text made of thousands must not make this
            // search slow.
            if (identifiers.size() < 128)
                identifiers.emplace_back (name, id);

            return id;
        }

        /** A value without references. Short values repeat all over a song (velocities,
            flags, small numbers): they share one string each instead of allocating again. */
        juce::String plainValue (std::string_view valueText)
        {
            if (valueText.size() > 8)
                return toString (valueText);

            if (const auto known = values.find (valueText); known != values.end())
                return known->second;

            auto value = toString (valueText);

            if (values.size() < 1024)
                values.emplace (valueText, value);

            return value;
        }

        /** Reads one element into `tree`. Given a parent, the element joins it before its own
            children are read: the framework tells a whole subtree when it gets a parent. */
        bool readElement (juce::ValueTree& tree, int depth, juce::ValueTree* parent = nullptr)
        {
            if (depth > SafeXml::maxDepth || ! skip ("<"))
                return false;

            const auto type = readName();

            if (type.empty())
                return false;

            tree = juce::ValueTree (identifierFor (type));

            while (pos != end && *pos == ' ')
            {
                ++pos;
                const auto name = readName();

                // The framework's reader turns a "base64:" attribute into binary data; a
                // repeated attribute is not well-formed.
                if (name.empty() || name.rfind ("base64:", 0) == 0 || ! skip ("=\""))
                    return false;

                const auto id = identifierFor (name);

                if (tree.hasProperty (id))
                    return false;

                auto value = readValue();

                if (! value.has_value())
                    return false;

                tree.setProperty (id, std::move (*value), nullptr);
            }

            if (parent != nullptr)
                parent->appendChild (tree, nullptr);

            if (skip ("/>"))
                return true;

            if (! skip (">"))
                return false;

            while (! skip ("</"))
            {
                juce::ValueTree child;

                if (! readElement (child, depth + 1, &tree))
                    return false;
            }

            return readName() == type && skip (">");
        }

        const char* text;
        const char* end;
        const char* pos = nullptr;
        std::vector<std::pair<std::string_view, juce::Identifier>> identifiers;
        std::unordered_map<std::string_view, juce::String> values;
    };
} // namespace

bool write (const juce::ValueTree& tree, juce::OutputStream& output)
{
    return writeDocument (tree, nullptr, nullptr, output);
}

bool write (const juce::ValueTree& tree, const juce::Identifier& extraProperty, const juce::var& extraValue, juce::OutputStream& output)
{
    return writeDocument (tree, &extraProperty, &extraValue, output);
}

std::optional<juce::ValueTree> read (const char* text, size_t numBytes)
{
    if (text == nullptr)
        return std::nullopt;

    return Reader (text, numBytes).readDocument();
}

} // namespace tarn::ValueTreeText

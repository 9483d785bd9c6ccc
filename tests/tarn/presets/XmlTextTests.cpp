#include <tarn/presets/XmlScan.h>
#include <tarn/util/SafeXml.h>
#include <tarn/util/ValueTreeText.h>

#include <gtest/gtest.h>

using tarn::SafeXml::parse;

namespace
{
bool readsWhole (const std::string& text)
{
    return tarn::XmlScan::scan (text.data(), text.size()).readsWhole;
}

juce::String nested (int depth)
{
    return juce::String::repeatedString ("<a>", depth) + juce::String::repeatedString ("</a>", depth);
}

/** A preset as the framework writes it: header, CR LF line ends, indentation, wrapped lines. */
std::string presetText()
{
    juce::XmlElement root ("cadenzium2");
    root.setAttribute ("author", "Ada & \"Bo\" <3");
    root.setAttribute ("description", juce::String::fromUTF8 ("Caf\xc3\xa9 > tea\nsecond line"));

    for (int i = 0; i < 3; ++i)
    {
        auto* note = root.createNewChildElement ("sequences")->createNewChildElement ("note");
        note->setAttribute ("number", i);
        note->setAttribute ("timestamp", i * 240);
    }

    root.createNewChildElement ("settings");
    return root.toString().toStdString();
}

juce::String frameworkText (const juce::ValueTree& tree)
{
    return tree.createXml()->toString (juce::XmlElement::TextFormat().singleLine());
}

juce::String fastText (const juce::ValueTree& tree)
{
    juce::MemoryOutputStream out;
    EXPECT_TRUE (tarn::ValueTreeText::write (tree, out));
    return out.toString();
}

/** Types and values, both of which the equivalence of two trees would gloss over. */
juce::MemoryBlock binaryOf (const juce::ValueTree& tree)
{
    juce::MemoryOutputStream out;
    tree.writeToStream (out);
    return out.getMemoryBlock();
}

juce::String randomText (juce::Random& random)
{
    static const juce::juce_wchar awkward[] = { '&', '"', '\'', '<', '>', '\n', '\r', '\t', ';', '#', 0xe9, 0x263a, 0x1f600, 1, 0x7f };
    juce::String text;

    for (int i = random.nextInt (12); --i >= 0;)
        text << (random.nextInt (3) == 0 ? awkward[random.nextInt (juce::numElementsInArray (awkward))] : (juce::juce_wchar) (32 + random.nextInt (95)));

    return text;
}

juce::ValueTree randomTree (juce::Random& random, int depth)
{
    static const char* names[] = { "cadenzium2", "sequence", "note", "lane", "point", "a.b", "x-y", "_z", "n:s" };
    juce::ValueTree tree (names[random.nextInt (juce::numElementsInArray (names))]);

    for (int i = random.nextInt (6); --i >= 0;)
    {
        const juce::Identifier name (names[random.nextInt (juce::numElementsInArray (names))] + juce::String (i));
        const juce::var values[] = { random.nextInt() - (1 << 30), random.nextDouble() * 1000.0 - 500.0, random.nextBool(), (juce::int64) random.nextInt64(), randomText (random) };
        tree.setProperty (name, values[random.nextInt (5)], nullptr);
    }

    if (depth < 4)
        for (int i = random.nextInt (4); --i >= 0;)
            tree.appendChild (randomTree (random, depth + 1), nullptr);

    return tree;
}

/** What a host's state reader makes of the text the careful way, or an invalid tree. */
juce::ValueTree frameworkTree (const juce::String& text)
{
    const auto xml = parse (text);
    return xml != nullptr ? juce::ValueTree::fromXml (*xml) : juce::ValueTree();
}

std::optional<juce::ValueTree> fastTree (const juce::String& text)
{
    return tarn::ValueTreeText::read (text.toRawUTF8(), text.getNumBytesAsUTF8());
}
} // namespace

TEST (XmlScan, whatTheFrameworkWritesReadsWholeParsesAndTheStartTagEndsWhereTheRootOpens)
{
    const auto text = presetText();
    const auto result = tarn::XmlScan::scan (text.data(), text.size());
    ASSERT_TRUE (result.readsWhole);
    const auto startTag = juce::String::fromUTF8 (text.data(), (int) result.startTagEnd);
    EXPECT_TRUE (startTag.endsWith ("line\">")) << startTag;
    EXPECT_EQ (parse (startTag, true)->getStringAttribute ("author"), "Ada & \"Bo\" <3");
    EXPECT_EQ (parse ("<cadenzium2><unclosed>"), nullptr) << "only the start tag may be left open, and only when asked";

    for (const auto* ok : { "<a/>", " <a></a>\n", "<?xml version=\"1.0\"?><!-- <a><a> > --><a b='1' c=\"'\"><![CDATA[<<]]><!--c--></a>",
                            "<a b=\"&#x41;&#65;&amp;&lt;&gt;&quot;&apos;\">&#x41;</a>" })
    {
        EXPECT_TRUE (readsWhole (ok)) << ok;
        EXPECT_NE (parse (ok), nullptr) << ok;
    }

    EXPECT_EQ (parse ("<a d=\"a > b, c/>\"/>")->getStringAttribute ("d"), "a > b, c/>") << "the scan alone refuses bare angles";
    EXPECT_EQ (parse ("<a b=\"&#x41;&#65;&amp;&lt;&gt;&quot;&apos;\"/>")->getStringAttribute ("b"), "AA&<>\"'");
    EXPECT_TRUE (readsWhole (nested (tarn::SafeXml::maxDepth).toStdString()));
    EXPECT_NE (parse (nested (tarn::SafeXml::maxDepth)), nullptr);
    EXPECT_NE (parse ("<a>" + juce::String::repeatedString ("<b/><c x=\"1\"></c>", 1000) + "</a>"), nullptr) << "siblings are not depth";
}

TEST (XmlScan, hostileAndDamagedDocumentsAreRefusedByTheScanAndThoseThatWouldHurtTheParserByBoth)
{
    // A few hundred bytes that the framework would expand into gigabytes.
    juce::String laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE lolz [\n<!ENTITY lol \"lol\">\n";

    for (int i = 1; i < 10; ++i)
        laughs << "<!ENTITY lol" << i << " \"" << juce::String::repeatedString ("&lol" + juce::String (i == 1 ? "" : juce::String (i - 1)) + ";", 10) << "\">\n";

    laughs << "]>\n<cadenzium2 author=\"&lol9;\"/>";

    // (text, whether the careful parser must refuse it too)
    const std::pair<juce::String, bool> hostile[] = {
        { laughs, true }, { "<!doctype x SYSTEM \"/etc/passwd\"><x>&e;</x>", true }, { "<!DOCTYPE a><a/>", true },
        // The framework's reader parses unknown entity names as markup and overruns the text on a cut reference.
        { "<a>&<b>;</a>", true }, { "<a b=\"&nbsp;\"/>", true }, { "<a>&#x41</a>", true }, { "<a>&#x4", true }, { "<a b=\"&#;\"/>", true },
        // The framework's parser would loop forever on these.
        { "<cadenzium2><?x?>text</cadenzium2>", true }, { "<?xml version=\"1.0\"?><?xml version=\"1.0\"?><a/>", true },
        { nested (tarn::SafeXml::maxDepth + 1), true }, { nested (200000), true },
        // Stray quotes in broken text do not hide tags the parser would still descend into.
        { "<r><a b=c \"" + nested (200) + "\"></a></r>", true }, { "<r>" + juce::String::repeatedString ("<a x=\"></z></z>\">", 200) + "</r>", true },
        { "<state><row id=\"a\" v=\"1\" id=\"b\"/></state>", true }, { "<a></b>", true }, { "not xml", true },
        { "<a></a ><!-- after -->", false }, { "<a></a ></a>", false }, { "<a b=\"<\"/>", false }, { "<a b=\">\"/>", false },
        { "<a b=1/>", false }, { "<a b=\"1\"c=\"2\"/>", false }, { "<a>&#1234567890123;</a>", false }, { "<a><?x?></a>", false },
        { "<a><!-- <!doctype --></a>", false }, { "<a><!ELEMENT></a>", false }, { "<a/><b/>", false }, { "text<a/>", false },
        { juce::String::fromUTF8 ("<\xc3\xa9/>"), false }, { "<a></a >", false }, { "<a x=\"1\"></a>trailing", false },
    };

    for (const auto& [text, carefulRefuses] : hostile)
    {
        SCOPED_TRACE (text.substring (0, 80));
        EXPECT_FALSE (readsWhole (text.toStdString()));

        if (carefulRefuses)
        {
            EXPECT_EQ (parse (text), nullptr);
        }
    }

    EXPECT_FALSE (readsWhole (std::string ("<a>\0</a>", 8)));

    // Cut off anywhere, the document is refused by both.
    const auto text = presetText();

    for (size_t length = 0; length < text.find_last_not_of ("\r\n ") + 1; ++length)
    {
        EXPECT_FALSE (readsWhole (text.substr (0, length))) << text.substr (0, length);
        EXPECT_EQ (parse (juce::String::fromUTF8 (text.data(), (int) length)), nullptr) << text.substr (0, length);
    }

    // A repeat among many attributes is found too.
    std::string many = "<a";

    for (int i = 0; i < 300; ++i)
        many += " x" + std::to_string (i) + "=\"1\"";

    EXPECT_TRUE (readsWhole (many + "/>"));
    EXPECT_FALSE (readsWhole (many + " x3=\"2\"/>"));
    EXPECT_FALSE (readsWhole (many + " x299=\"2\"/>"));
}

TEST (ValueTreeText, writesTheFrameworksTextAndReadsBackTheFrameworksTree)
{
    const auto seed = juce::Random().nextInt64();
    SCOPED_TRACE ("seed " + juce::String (seed));
    juce::Random random (seed);

    for (int round = 0; round < 300; ++round)
    {
        const auto tree = randomTree (random, 0);
        const auto text = fastText (tree);
        ASSERT_EQ (text, frameworkText (tree));

        // A copy with one property set, as a host save adds the preset's path.
        const auto extra = tree.getNumProperties() > 0 && random.nextBool() ? tree.getPropertyName (0) : juce::Identifier ("preset_path");
        const auto value = randomText (random);
        juce::MemoryOutputStream withExtra;
        ASSERT_TRUE (tarn::ValueTreeText::write (tree, extra, value, withExtra));
        ASSERT_EQ (withExtra.toString(), frameworkText (tree.createCopy().setProperty (extra, value, nullptr)));

        const auto read = fastTree (text);
        ASSERT_TRUE (read.has_value());
        ASSERT_EQ (binaryOf (*read), binaryOf (frameworkTree (text)));
    }

    // Binary data is written by the framework under a renamed attribute: left to it.
    juce::MemoryOutputStream out;
    EXPECT_FALSE (tarn::ValueTreeText::write (juce::ValueTree ("a").setProperty ("b", juce::var (juce::MemoryBlock ("xy", 2)), nullptr), out));
}

TEST (ValueTreeText, damagedTextIsEitherReadAsTheCarefulReaderReadsItOrLeftToIt)
{
    const auto seed = juce::Random().nextInt64();
    SCOPED_TRACE ("seed " + juce::String (seed));
    juce::Random random (seed);
    int readFast = 0;

    for (int round = 0; round < 3000; ++round)
    {
        auto text = fastText (randomTree (random, 0));

        for (int edits = 1 + random.nextInt (3); --edits >= 0;)
        {
            static const juce::String pieces[] = { "<", ">", "/>", "</a>", "\"", "&", "&amp;", "&#0;", "&#x41;", " ", "\n", "=", "a", juce::String::charToString (0xe9), "<!--", "base64:", "b=\"1\"" };
            const auto at = random.nextInt (text.length() + 1);
            const auto cut = random.nextInt (3);
            text = text.substring (0, at) + (random.nextBool() ? pieces[random.nextInt (juce::numElementsInArray (pieces))] : juce::String()) + text.substring (at + cut);
        }

        if (const auto read = fastTree (text))
        {
            ++readFast;
            const auto careful = frameworkTree (text);
            ASSERT_TRUE (careful.isValid()) << text;
            ASSERT_EQ (binaryOf (*read), binaryOf (careful)) << text;
        }
    }

    EXPECT_GT (readFast, 0);

    // Forms the careful reader refuses or reads differently are never taken.
    const juce::String declaration ("<?xml version=\"1.0\" encoding=\"UTF-8\"?> ");
    EXPECT_FALSE (fastTree (declaration + "<a b=\"1\" b=\"2\"/>").has_value());
    EXPECT_FALSE (fastTree (declaration + "<a base64:b=\"eHk=\"/>").has_value());
    EXPECT_FALSE (fastTree (declaration + "<a><b></c></a>").has_value());
    EXPECT_FALSE (fastTree (declaration + "<a/>trailing").has_value());
    EXPECT_FALSE (fastTree (declaration + juce::String::repeatedString ("<a>", 65) + juce::String::repeatedString ("</a>", 65)).has_value());
    EXPECT_TRUE (fastTree (declaration + juce::String::repeatedString ("<a>", 64) + juce::String::repeatedString ("</a>", 64)).has_value());
}

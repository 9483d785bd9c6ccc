#include <tarn/util/SafeXml.h>

#include <gtest/gtest.h>

using tarn::SafeXml::parse;

TEST (SafeXml, ordinaryDocumentsParseWithQuotedAnglesCommentsAndCdata)
{
    const auto xml = parse ("<?xml version=\"1.0\"?>\n<!-- <a><a><a> -->\n<cadenzium2 description=\"a > b, c/>\">"
                            "<PARAM id=\"x\" value='1'/><notes><![CDATA[<<<]]></notes></cadenzium2>");
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getStringAttribute ("description"), "a > b, c/>");
    EXPECT_EQ (xml->getNumChildElements(), 2);
    EXPECT_EQ (parse ("<cadenzium2 author=\"x\"><unclosed>", true)->getStringAttribute ("author"), "x");
    EXPECT_EQ (parse ("<cadenzium2><unclosed>"), nullptr);
    EXPECT_EQ (parse ("not xml"), nullptr);
}

TEST (SafeXml, documentTypesUnknownEntitiesInstructionsAndDeepNestingAreRefusedBeforeParsing)
{
    // A few hundred bytes that the framework would expand into gigabytes.
    juce::String laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE lolz [\n<!ENTITY lol \"lol\">\n";

    for (int i = 1; i < 10; ++i)
        laughs << "<!ENTITY lol" << i << " \"" << juce::String::repeatedString ("&lol" + juce::String (i == 1 ? "" : juce::String (i - 1)) + ";", 10) << "\">\n";

    laughs << "]>\n<cadenzium2 author=\"&lol9;\"/>";
    EXPECT_EQ (parse (laughs), nullptr);
    EXPECT_EQ (parse ("<!doctype x SYSTEM \"/etc/passwd\"><x>&e;</x>"), nullptr);

    // Only the predefined entities and complete numeric references: the framework's reader
    // parses unknown entity names as markup and overruns the text on a cut reference.
    EXPECT_EQ (parse ("<a>&<b>;</a>"), nullptr);
    EXPECT_EQ (parse ("<a b=\"&nbsp;\"/>"), nullptr);
    EXPECT_EQ (parse ("<a>&#x41</a>"), nullptr);
    EXPECT_EQ (parse ("<a>&#x4"), nullptr);
    EXPECT_EQ (parse ("<a b=\"&#;\"/>"), nullptr);
    const auto complete = parse ("<a b=\"&#x41;&#65;&amp;&lt;&gt;&quot;&apos;\"/>");
    ASSERT_NE (complete, nullptr);
    EXPECT_EQ (complete->getStringAttribute ("b"), "AA&<>\"'");

    // The framework's parser would loop forever on these.
    EXPECT_EQ (parse ("<cadenzium2><?x?>text</cadenzium2>"), nullptr);
    EXPECT_EQ (parse ("<?xml version=\"1.0\"?><?xml version=\"1.0\"?><a/>"), nullptr);

    const auto nested = [] (int depth)
    { return juce::String::repeatedString ("<a>", depth) + juce::String::repeatedString ("</a>", depth); };

    EXPECT_NE (parse (nested (tarn::SafeXml::maxDepth)), nullptr);
    EXPECT_EQ (parse (nested (tarn::SafeXml::maxDepth + 1)), nullptr);
    EXPECT_EQ (parse (nested (200000)), nullptr);

    // Stray quotes in broken text do not hide tags the parser would still descend into.
    EXPECT_EQ (parse ("<r><a b=c \"" + nested (200) + "\"></a></r>"), nullptr);
    EXPECT_EQ (parse ("<r>" + juce::String::repeatedString ("<a x=\"></z></z>\">", 200) + "</r>"), nullptr);

    // Siblings are not depth.
    EXPECT_NE (parse ("<a>" + juce::String::repeatedString ("<b/><c x=\"1\"></c>", 1000) + "</a>"), nullptr);
}

TEST (SafeXml, aDocumentCutOffAnywhereOrRepeatingAnAttributeIsRefused)
{
    const juce::String document ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<state a=\"1\"><rows><row v=\"2\"/><row/></rows><empty/></state>\n");
    ASSERT_NE (tarn::SafeXml::parse (document), nullptr);
    EXPECT_NE (tarn::SafeXml::parse ("<state a=\"1\"/>"), nullptr);
    const auto end = document.trimEnd().length();

    for (int length = 1; length < end; ++length)
        EXPECT_EQ (tarn::SafeXml::parse (document.substring (0, length)), nullptr) << document.substring (0, length);

    EXPECT_EQ (tarn::SafeXml::parse ("<state><row id=\"a\" v=\"1\" id=\"b\"/></state>"), nullptr);
}

#include <tarn/presets/XmlScan.h>
#include <tarn/util/SafeXml.h>
#include <tests/support/TestSeed.h>

#include <gtest/gtest.h>

namespace
{
bool readsWhole (const std::string& text)
{
    return tarn::XmlScan::scan (text.data(), text.size()).readsWhole;
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
} // namespace

TEST (XmlScan, whatTheFrameworkWritesReadsWholeAndTheStartTagEndsWhereTheRootOpens)
{
    const auto text = presetText();
    const auto result = tarn::XmlScan::scan (text.data(), text.size());
    ASSERT_TRUE (result.readsWhole);
    const auto startTag = juce::String::fromUTF8 (text.data(), (int) result.startTagEnd);
    EXPECT_TRUE (startTag.endsWith ("line\">")) << startTag;
    EXPECT_EQ (tarn::SafeXml::parse (startTag, true)->getStringAttribute ("author"), "Ada & \"Bo\" <3");

    for (const auto* ok : { "<a/>", " <a></a>\n", "<?xml version=\"1.0\"?><!-- x > y --><a b='1' c=\"'\"><![CDATA[<<]]><!--c--></a>",
                            "<a>&#x41;&#65;&amp;&lt;&gt;&quot;&apos;</a>" })
        EXPECT_TRUE (readsWhole (ok)) << ok;
}

TEST (XmlScan, aDocumentCutOffAnywhereOrDamagedInItsBodyDoesNotReadWhole)
{
    const auto text = presetText();
    const auto end = text.find_last_not_of ("\r\n ") + 1;

    for (size_t length = 0; length < end; ++length)
        EXPECT_FALSE (readsWhole (text.substr (0, length))) << text.substr (0, length);

    for (const auto* bad : {
             "<a></b>", "<a></a ><!-- after -->", "<a></a ></a>", "<a b=\"1\" b=\"2\"/>", "<a b=\"<\"/>", "<a b=\">\"/>",
             "<a b=1/>", "<a b=\"1\"c=\"2\"/>", "<a>&nbsp;</a>", "<a>&#x41</a>", "<a>&#1234567890123;</a>",
             "<!DOCTYPE a><a/>", "<a><?x?></a>", "<a><!-- <!doctype --></a>", "<a><!ELEMENT></a>", "<a/><b/>",
             "text<a/>", "<\xc3\xa9/>", "<a></a >", "<a x=\"1\"></a>trailing" })
        EXPECT_FALSE (readsWhole (bad)) << bad;

    EXPECT_FALSE (readsWhole (std::string ("<a>\0</a>", 8)));

    const auto nested = [] (int depth)
    { return juce::String::repeatedString ("<a>", depth).toStdString() + juce::String::repeatedString ("</a>", depth).toStdString(); };

    EXPECT_TRUE (readsWhole (nested (tarn::SafeXml::maxDepth)));
    EXPECT_FALSE (readsWhole (nested (tarn::SafeXml::maxDepth + 1)));

    // A repeat among many attributes is found too.
    std::string many = "<a";

    for (int i = 0; i < 300; ++i)
        many += " x" + std::to_string (i) + "=\"1\"";

    EXPECT_TRUE (readsWhole (many + "/>"));
    EXPECT_FALSE (readsWhole (many + " x3=\"2\"/>"));
    EXPECT_FALSE (readsWhole (many + " x299=\"2\"/>"));
}

TEST (XmlScan, everyDocumentThatReadsWholeParsesCarefullyWhateverTheDamage)
{
    const auto seed = cadenzium::test::testSeed (20250301);
    SCOPED_TRACE ("seed " + std::to_string (seed));
    juce::Random random (seed);
    const auto original = presetText();
    const std::string pieces[] = { "<", ">", "/", "\"", "'", "&", "&amp;", "=", " ", "<a>", "</a>", "<!--", "-->", "]]>", "<![CDATA[", "\0", "&#x", ";" };
    int readWhole = 0;

    for (int i = 0; i < 20000; ++i)
    {
        auto text = original;

        for (int edits = 1 + random.nextInt (3); --edits >= 0;)
        {
            const auto at = (size_t) random.nextInt ((int) text.size() + 1);

            if (random.nextBool())
                text.insert (at, pieces[(size_t) random.nextInt ((int) std::size (pieces))]);
            else
                text.erase (at, (size_t) random.nextInt (4));
        }

        if (! readsWhole (text))
            continue;

        ++readWhole;
        EXPECT_NE (tarn::SafeXml::parse (juce::String::fromUTF8 (text.data(), (int) text.size())), nullptr) << text;
    }

    EXPECT_GT (readWhole, 100); // the check is not simply refusing everything
}

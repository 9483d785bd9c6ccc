#include <tarn/util/SafeXml.h>
#include <tarn/util/ValueTreeText.h>

#include <gtest/gtest.h>

namespace
{
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
    const auto xml = tarn::SafeXml::parse (text);
    return xml != nullptr ? juce::ValueTree::fromXml (*xml) : juce::ValueTree();
}

std::optional<juce::ValueTree> fastTree (const juce::String& text)
{
    return tarn::ValueTreeText::read (text.toRawUTF8(), text.getNumBytesAsUTF8());
}
} // namespace

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

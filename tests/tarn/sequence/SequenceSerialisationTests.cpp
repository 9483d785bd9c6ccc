#include "PlaybackTestSupport.h"

#include <tarn/sequence/SequenceSerialisation.h>

#include <tests/support/TestSeed.h>

#include <gtest/gtest.h>

using namespace tarn;
using namespace cadenzium::test;

namespace
{
juce::String text (const juce::ValueTree& tree)
{
    return tree.toXmlString (juce::XmlElement::TextFormat().singleLine().withoutHeader());
}

/** What a host gives back: the tree after a trip through XML, every value a string. */
juce::ValueTree throughXml (const juce::ValueTree& tree)
{
    return juce::ValueTree::fromXml (tree.toXmlString());
}
} // namespace

TEST (SequenceSerialisation, aPhraseWritesOnlyThePartsAndModificationsItHasAndReadsBack)
{
    auto plain = makeNote (60, 0, 240);
    plain.channel = 5; // never saved: always written as 1
    auto chancy = makeNote (61, 240, 240);
    chancy.chance = 50;
    const GridSize dottedEighth (8, GridSize::dotted);
    auto repeating = makeRepeatingNote (62, 480, 240, SequenceNote::repeatAtRate, dottedEighth.identifier, dottedEighth);
    repeating.transposeMax = 2;
    auto s = makeSequence ({ plain, chancy, repeating });
    s.loops[60] = { 0, 3840 }; // the whole phrase: no loop
    s.normalise();
    EXPECT_EQ (text (writeSequence (s)).upToFirstOccurrenceOf ("<notes>", false, false), R"(<sequence length="3840" time_signature_numerator="4" time_signature_denominator="4">)");
    EXPECT_FALSE (writeSequence (s).getChildWithName ("loops").isValid());

    s.playbackStart = 960;
    s.name = "Arp";
    s.loopCount = 2;
    s.loops[61] = { 0, 960 };
    s.lanes = { controlChange (1, { { 0, 64, 0.25f, ControllerPoint::quadratic } }), ControllerLane() }; // and a pitch bend without points
    const auto tree = writeSequence (s);
    EXPECT_EQ (text (tree),
               R"(<sequence length="3840" time_signature_numerator="4" time_signature_denominator="4" playback_start="960" name="Arp" loop_count="2"><notes>)"
               R"(<note number="60" velocity_min="100" velocity_max="100" timestamp="0" length="240" channel="1"/>)"
               R"(<note number="61" velocity_min="100" velocity_max="100" timestamp="240" length="240" channel="1"><mods chance="50"/></note>)"
               R"(<note number="62" velocity_min="100" velocity_max="100" timestamp="480" length="240" channel="1"><mods transpose_min="0" transpose_max="2" repeat_style="1" repeat_count="113"/></note>)"
               R"(</notes><loops><loop row="61" start="0" end="960"/></loops><controllers><controller><controller_type type="0" channel="1" number="1"/>)"
               R"(<points><point timestamp="0" value="64" curve="0.25" shape="1"/></points></controller><controller><controller_type type="1" channel="1"/></controller></controllers></sequence>)");
    EXPECT_TRUE (sequencesAreEqual (readSequence (throughXml (tree)), s));
    EXPECT_EQ (readNote (throughXml (tree.getChildWithName ("notes").getChild (2))).repeatRate.ticks, 720); // 1/8 dotted: 480 + 240
    const auto read = readNote (juce::ValueTree::fromXml (R"(<note number="61"><mods transpose_min="3" transpose_max="1"/></note>)"));
    EXPECT_EQ (std::tuple (read.transposeMin, read.transposeMax, read.chance), std::tuple (3, 3, 100));
    EXPECT_EQ (readNote (juce::ValueTree ("loop")), SequenceNote());
}

TEST (SequenceSerialisation, writeReadWriteGivesTheSameTextForAnySequence)
{
    const auto seed = testSeed (0x7e5eed);
    SCOPED_TRACE ("seed " + std::to_string (seed));
    juce::Random random (seed);

    for (int i = 0; i < 300; ++i)
    {
        const auto s = makeRandomSequence (random);
        const auto first = writeSequence (s);
        const auto back = readSequence (throughXml (first));
        ASSERT_EQ (text (writeSequence (back)), text (first));
        ASSERT_TRUE (sequencesAreEqual (back, s));
    }
}

TEST (SequenceSerialisation, damagedValuesAreBroughtIntoPlayableRanges)
{
    const auto tree = juce::ValueTree::fromXml (
        R"(<sequence length="99999999999" time_signature_numerator="0" time_signature_denominator="4" playback_start="-5" loop_count="300">
             <notes>
               <note number="300" velocity_min="-10" velocity_max="2147483647" timestamp="-4" length="960" channel="40">
                 <mods chance="250" transpose_min="-100000" transpose_max="100000" octave_min="-99" octave_max="99" repeat_style="2" repeat_count="2000000000"/>
               </note>
               <note number="1" timestamp="0" length="960"><mods repeat_style="2" repeat_count="1"/></note>
               <note number="2" timestamp="0" length="960"><mods repeat_style="1" repeat_count="999"/></note>
             </notes>
             <loops><loop row="60"/><loop row="61" start="960" end="960"/><loop row="200" start="0" end="10"/><loop row="62" start="10" end="5"/></loops>
             <controllers><controller><controller_type type="0" number="500" channel="0"/>
               <points><point timestamp="-3" value="1000" curve="7.5" shape="0"/></points></controller>
               <controller><points><point value="5"/></points></controller></controllers>
           </sequence>)");

    const auto s = readSequence (tree);
    EXPECT_EQ (std::tuple (s.getLength(), s.timeSignatureNumerator, s.playbackStart, s.loopCount), std::tuple (Sequence::maxLength, 4, 0, SequenceLimits::maxLoopCount));
    ASSERT_EQ (s.notes.size(), 3u);
    const auto* wild = findNote (s, 127, 0);
    ASSERT_NE (wild, nullptr);
    EXPECT_EQ (std::tuple (wild->velocityMin, wild->velocityMax, wild->channel, wild->chance), std::tuple (0, 127, 16, 100));
    EXPECT_EQ (std::tuple (wild->transposeMin, wild->transposeMax, wild->octaveMax, wild->repeatCount),
               std::tuple (SequenceLimits::minTranspose, SequenceLimits::maxTranspose, SequenceLimits::maxOctave, SequenceLimits::maxRepeatStrikes));
    EXPECT_EQ (findNote (s, 1, 0)->repeatStyle, SequenceNote::noRepeats);
    EXPECT_EQ (findNote (s, 2, 0)->repeatRate.ticks, 240);

    for (const auto& loop : s.loops)
        EXPECT_EQ (loop, RowLoop());

    ASSERT_EQ (s.lanes.size(), 2u);
    EXPECT_EQ (std::tuple (s.lanes[0].number, s.lanes[0].channel), std::tuple (-1, 1)); // not 127, Poly Mode On
    EXPECT_EQ (s.lanes[0].points[0], (ControllerPoint { 0, 127, 1.0f, 0 }));

    // A control change lane that names no controller sends nothing at all.
    for (const auto* holder : renderSequence (s))
        EXPECT_FALSE (holder->message.isController()) << holder->message.getDescription();
    EXPECT_TRUE (s.lanes[1].points.empty()); // no type: no points

    const auto badSignature = juce::ValueTree::fromXml (R"(<sequence length="3840" time_signature_numerator="3" time_signature_denominator="5000"/>)");
    EXPECT_EQ (readSequence (badSignature).timeSignatureDenominator, 4);
}

TEST (SequenceSerialisation, garbageTreesNeverCrashAndAlwaysRenderValidMidi)
{
    const auto seed = testSeed (0x7e5eed);
    SCOPED_TRACE ("seed " + std::to_string (seed));
    juce::Random random (seed);
    const juce::StringArray names { "sequence", "notes", "note", "mods", "loops", "loop", "controllers", "controller", "controller_type", "points", "point", "length", "number", "velocity_min", "velocity_max", "timestamp", "channel", "chance", "transpose_min", "transpose_max", "octave_min", "octave_max", "repeat_style", "repeat_count", "row", "start", "end", "type", "value", "curve", "shape", "loop_count", "playback_start", "time_signature_numerator", "time_signature_denominator" };

    const auto randomValue = [&random]() -> juce::var
    {
        const juce::var values[] = { random.nextInt(), random.nextInt (40) - 5, random.nextDouble() * 1.0e12 - 5.0e11, juce::String (random.nextInt64()), "not a number", std::numeric_limits<double>::infinity() };
        return values[random.nextInt (6)];
    };

    std::function<juce::ValueTree (int)> makeTree = [&] (int depth)
    {
        juce::ValueTree tree (names[random.nextInt (11)]);

        for (int i = random.nextInt (6); --i >= 0;)
            tree.setProperty (names[11 + random.nextInt (names.size() - 11)], randomValue(), nullptr);

        if (depth < 4)
            for (int i = random.nextInt (4); --i >= 0;)
                tree.appendChild (makeTree (depth + 1), nullptr);

        return tree;
    };

    for (int i = 0; i < 300; ++i)
    {
        auto tree = makeTree (0);

        if (random.nextBool())
            tree = throughXml (tree);

        auto s = readSequence (tree);
        s.setLength (std::min (s.getLength(), 4 * Ticks::perWhole)); // keep the test quick
        s.normalise();
        const auto rendering = renderSequence (s);

        for (const auto* holder : rendering)
        {
            const auto unwrapped = PitchOffsetMessage::unwrap (holder->message).message;

            if (unwrapped.isSysEx() || unwrapped.isMetaEvent())
                continue;

            for (int b = 1; b < unwrapped.getRawDataSize(); ++b)
                ASSERT_LT (unwrapped.getRawData()[b], 0x80);
        }
    }
}

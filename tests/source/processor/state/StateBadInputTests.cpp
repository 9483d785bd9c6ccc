#include "StateTestSupport.h"

#include <tests/support/TestSeed.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
juce::String validStateText()
{
    Cadenzium2AudioProcessor source;
    EditCommands (source).newController ({ tarn::ControllerLane::controlChange, 74, 3, "Cutoff" });
    auto phrase = source.getPhrase (0);
    phrase.notes = { makeNote (0, 0, 240), makeNote (1, 480, 240), makeNote (3, 960, 960) };
    phrase.loops[1] = { 0, 960 };
    phrase.lanes[0].points = { { 0, 64, 0.5f, 1 } };
    phrase.normalise();
    EditCommands (source).editPhrase (0, phrase);
    return treeOf (stateOf (source)).toXmlString();
}

juce::MemoryBlock withLengthField (juce::MemoryBlock block, juce::uint32 length)
{
    for (size_t i = 0; i < 4; ++i)
        block[4 + i] = (char) (length >> (8 * i));
    return block;
}
} // namespace

TEST (StateBadInput, containersThatFailTheChecksLeaveTheStateUntouched)
{
    Cadenzium2AudioProcessor processor;
    EditCommands (processor).newRow();
    processor.setSwingGridChoice (2);
    const auto before = stateOf (processor);
    const auto valid = containerFor (validStateText());

    auto wrongMagic = valid;
    static_cast<char*> (wrongMagic.getData())[3] = 'X';

    const std::pair<const char*, juce::MemoryBlock> cases[] = {
        { "nothing", juce::MemoryBlock() },
        { "eight bytes", juce::MemoryBlock (valid.getData(), 8) },
        { "wrong magic", wrongMagic },
        { "zero length", withLengthField (valid, 0) },
        { "negative length", withLengthField (valid, 0x80000000u) },
        { "length cutting the text", withLengthField (valid, 40) },
        { "truncated text", juce::MemoryBlock (valid.getData(), valid.getSize() / 2) },
        { "text that is not XML", containerFor ("cadenzium2 { rows: 3 }") },
        { "unclosed element", containerFor ("<cadenzium2><cadenzium_rows>") },
        { "a tree of another type", containerFor ("<sequence length=\"960\"/>") },
        { "a document type", containerFor ("<!DOCTYPE a [<!ENTITY e \"x\">]><cadenzium2/>") },
    };

    for (const auto& [name, data] : cases)
    {
        processor.setStateInformation (data.getData(), (int) data.getSize());
        EXPECT_EQ (stateOf (processor), before) << name;
    }

    processor.setStateInformation (nullptr, 100);
    processor.setStateInformation (valid.getData(), -5);
    EXPECT_EQ (stateOf (processor), before);

    // A length field larger than the data reads what is there.
    restore (processor, withLengthField (valid, 0x7fffffffu));
    EXPECT_EQ (processor.getPhraseManager().getControllerTypes().size(), 1u);
}

TEST (StateBadInput, absurdNumbersAndCountsAreBroughtIntoRange)
{
    // Built in a stream: appending to a String ten thousand times copies it each time.
    juce::MemoryOutputStream text;
    text << "<cadenzium2><cadenzium_rows>"
         << "<cadenzium_row type=\"1\" value=\"12\"/>"
         << "<cadenzium_row type=\"99\" value=\"-5\" channel=\"0\" transpose=\"1e300\" octave=\"-99999999999\" colour=\"abc\"/>";

    for (int i = 0; i < 200; ++i)
        text << "<cadenzium_row/>";
    text << "</cadenzium_rows><controller_types>"
         << "<controller_type type=\"7\" channel=\"99\"/><controller_type type=\"1\" channel=\"16\"/>"
         << "<controller_type type=\"0\" number=\"500\" channel=\"-3\"/><controller_type type=\"0\" number=\"127\" channel=\"1\"/>"
         << "</controller_types><playback><key_signature root=\"-7\"><scale intervals=\"0 0 0 0 0 0 0 0 0 0 0 0 \"/></key_signature>"
         << "<swing rate=\"1e40\"/></playback><sequences current=\"99999999999\"><sequence length=\"-5\" loop_count=\"300\"><notes>";

    for (int i = 0; i < 10000; ++i)
        text << "<note number=\"" << (i % 300) << "\" timestamp=\"" << (i * 7 - 100) << "\" length=\"2147483647\" velocity_min=\"-10\" velocity_max=\"900\"/>";
    text << "</notes></sequence></sequences></cadenzium2>";

    Cadenzium2AudioProcessor processor;
    const auto keyBefore = processor.getKeySignature();
    restore (processor, containerFor (text.toString()));

    const auto& rows = processor.getPhraseManager().getRows();
    ASSERT_EQ ((int) rows.size(), CadenziumModifier::maxRows);
    EXPECT_EQ (rows[0].value, 8);
    EXPECT_EQ (rows[1].type, CadenziumModifier::all);
    EXPECT_EQ (rows[1].channel, 1);
    EXPECT_LE (std::abs (rows[1].transpose), 127);
    EXPECT_LE (std::abs (rows[1].octave), 10);

    // Type 7 reads as pitch bend on channel 16, which the second entry then repeats; number
    // 500 names no controller (rather than 127, Poly Mode On).
    const auto& types = processor.getPhraseManager().getControllerTypes();
    ASSERT_EQ (types.size(), 3u);
    EXPECT_EQ (types[0], (ControllerType { tarn::ControllerLane::pitchBend, -1, 16, {} }));
    EXPECT_EQ (types[1], (ControllerType { tarn::ControllerLane::controlChange, -1, 1, {} }));
    EXPECT_EQ (types[2], (ControllerType { tarn::ControllerLane::controlChange, 127, 1, {} }));
    EXPECT_EQ (processor.getControllerGenerationSettings().getNumChildren(), 3);

    EXPECT_EQ (processor.getKeySignature(), keyBefore) << "a key with no notes would leave key lock nowhere to go";
    EXPECT_EQ (processor.getRequestedPhrase(), Cadenzium2AudioProcessor::numPhrases - 1);

    // Each note's values are the phrase reader's to clamp; the song keeps them all.
    EXPECT_EQ (processor.getPhrase (0).notes.size(), 10000u);
    EXPECT_EQ (processor.getPhrase (0).loopCount, tarn::SequenceLimits::maxLoopCount);

    // What was read writes back and reads again as the same.
    const auto written = stateOf (processor);
    Cadenzium2AudioProcessor again;
    restore (again, written);
    EXPECT_EQ (stateOf (again), written);
}

TEST (StateBadInput, randomlyDamagedStatesLoadWithoutHarmAndWriteBackReadableStates)
{
    const auto seed = testSeed (20240611);
    SCOPED_TRACE ("seed " + juce::String (seed).toStdString());
    juce::Random random (seed);

    const auto valid = validStateText().toStdString();
    Cadenzium2AudioProcessor processor;

    for (int round = 0; round < 150; ++round)
    {
        auto text = valid;

        for (int edit = 1 + random.nextInt (8); --edit >= 0 && ! text.empty();)
        {
            const auto at = (size_t) random.nextInt ((int) text.size());

            switch (random.nextInt (5))
            {
                case 0:
                    text[at] = (char) random.nextInt (256);
                    break;
                case 1:
                    text.erase (at, (size_t) random.nextInt (40));
                    break;
                case 2:
                    text.insert (at, text.substr ((size_t) random.nextInt ((int) text.size()), (size_t) random.nextInt (200)));
                    break;
                case 3:
                    text.insert (at, std::to_string (random.nextInt64()));
                    break;
                default:
                    text.insert (at, "=\"-999999999999\" ");
                    break;
            }
        }

        restore (processor, containerFor (juce::String::fromUTF8 (text.data(), (int) text.size())));

        ASSERT_TRUE (treeOf (stateOf (processor)).hasType ("cadenzium2")) << "round " << round;
        ASSERT_LE ((int) processor.getPhraseManager().getRows().size(), CadenziumModifier::maxRows);
        ASSERT_TRUE (juce::isPositiveAndBelow (processor.getRequestedPhrase(), Cadenzium2AudioProcessor::numPhrases));

        for (int slot = 0; slot < Cadenzium2AudioProcessor::numPhrases; ++slot)
            for (const auto& note : processor.getPhrase (slot).notes)
                ASSERT_TRUE (juce::isPositiveAndBelow (note.number, 128) && note.velocityMax <= 127);
    }
}

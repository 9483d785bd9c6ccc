#include "V1TestPresets.h"

#include <source/import/V1PresetParser.h>
#include <tests/support/TemporaryFolder.h>

#include <gtest/gtest.h>

#include <map>

using namespace cadenzium::test::v1;

TEST (V1PresetParser, theSpeedSetsTheStepAndTheStepsThePhraseLengthUpToTheLongestAndTicksRoundHalfToEven)
{
    const auto result = V1PresetParser::parse (preset ("17|0|100|95|0|0|100"));
    ASSERT_TRUE (result.valid);
    EXPECT_DOUBLE_EQ (result.quarterNotesPerStep, 1.0);
    EXPECT_EQ (result.steps, 16);
    EXPECT_TRUE (result.fill) << "fill defaults to on";
    EXPECT_EQ (result.controllerNumbers, (std::array<int, 8> { 1, 2, 3, 4, 5, 6, 7, -1 }));

    ASSERT_EQ (result.phrases.size(), 12u);
    EXPECT_EQ (std::pair (result.phrases[11].getLength(), result.phrases[11].lanes.size()), std::pair (15360, (size_t) 8));

    // v1 pitch row 17 plays row 0.
    ASSERT_EQ (result.phrases[0].notes.size(), 1u);
    tarn::SequenceNote expected;
    std::tie (expected.number, expected.timestamp, expected.length, expected.velocityMin, expected.velocityMax) = std::tuple (0, 0, 960, 100, 100);
    EXPECT_EQ (result.phrases[0].notes[0], expected);
    EXPECT_TRUE (result.phrases[1].notes.empty());

    EXPECT_EQ (result.rows.size(), 17u);

    // Speed 11: steps of four thirds of a quarter note.
    const auto eleven = V1PresetParser::parse (preset ("1|96|80|191|0|0|100", {}, "11", "3"));
    ASSERT_TRUE (eleven.valid);
    EXPECT_DOUBLE_EQ (eleven.quarterNotesPerStep, (double) (4.0f / 3.0f));
    EXPECT_EQ (eleven.phrases[0].getLength(), 3 * 1280);
    ASSERT_EQ (eleven.phrases[0].notes.size(), 1u);
    const auto& note = eleven.phrases[0].notes[0];
    EXPECT_EQ (std::tuple (note.timestamp, note.getEnd(), note.number), std::tuple (1280, 2560, 16));

    // Speed 7: a v1 unit is 0.625 ticks, so starts 4 and 12 fall on 2.5 and 7.5.
    const auto seven = V1PresetParser::parse (preset ("17|4|100|4|0|0|100 17|12|100|13|0|0|100 17|3|100|3|0|0|100", {}, "7", "16"));
    ASSERT_TRUE (seven.valid);
    EXPECT_EQ (seven.phrases[0].getLength(), 960);

    // 2.5 -> 2 and 3.125 -> 3; 1.875 -> 2 and its end 2.5 -> 2, kept one tick long; 7.5 -> 8 and 8.75 -> 9.
    std::vector<std::pair<int, int>> startsAndEnds;
    for (const auto& n : seven.phrases[0].notes)
        startsAndEnds.emplace_back (n.timestamp, n.getEnd());
    EXPECT_EQ (startsAndEnds, (std::vector<std::pair<int, int>> { { 2, 3 }, { 2, 3 }, { 8, 9 } }));

    // Speed 0: a step of two bars; 128 steps reach the model's longest phrase exactly.
    const auto longest = V1PresetParser::parse (preset ("", {}, "0", "128"));
    ASSERT_TRUE (longest.valid);
    EXPECT_EQ (longest.phrases[0].getLength(), tarn::Sequence::maxLength);

    EXPECT_FALSE (V1PresetParser::parse (preset ("", {}, "0", "129")).valid);
    EXPECT_FALSE (V1PresetParser::parse (preset ("", {}, "0", "279620")).valid) << "2,147,481,600 ticks";
    EXPECT_FALSE (V1PresetParser::parse (preset ("", {}, "3", "0")).valid) << "a phrase of no length cannot loop";
}

TEST (V1PresetParser, tokensAreReadSkippingEmptyCellsAndSingleFieldsAndControllerPointsCentreThePitchWheel)
{
    const auto result = V1PresetParser::parse (preset ("0|5|100|10|0|0|100 stray\n\t9|0|80|47|2|-1|50|extra\r\n  0|x|y|z|a|b|c"));
    ASSERT_TRUE (result.valid);
    ASSERT_EQ (result.phrases[0].notes.size(), 1u);

    const auto& n = result.phrases[0].notes[0];
    EXPECT_EQ (std::tuple (n.number, n.velocityMin, n.transposeMin, n.transposeMax, n.octaveMin, n.octaveMax, n.chance, n.getEnd()),
               std::tuple (8, 80, 2, 2, -1, -1, 50, 480));

    // Controller points; 8192 is the centre of the pitch wheel.
    const auto points = V1PresetParser::parse (preset ("", { { 0, "0|64 48|127|x" }, { 7, "96|16383 0|8192 10|0" } }));
    ASSERT_TRUE (points.valid);

    const auto& cc = points.phrases[0].lanes[0].points;
    ASSERT_EQ (cc.size(), 2u);
    EXPECT_EQ (cc[1], (tarn::ControllerPoint { 480, 127, 0.5f, 0 }));

    // 8192 is the centre.
    const auto& bend = points.phrases[0].lanes[7].points;
    ASSERT_EQ (bend.size(), 3u);
    EXPECT_EQ (std::tuple (bend[0].value, bend[1].timestamp, bend[1].value, bend[2].timestamp, bend[2].value), std::tuple (0, 100, -8192, 960, 8191));
}

TEST (V1PresetParser, elementsAreReadInDocumentOrderWhateverTheirPlace)
{
    const auto text = document (phrase ("2", "17|0|1|0|0|0|100") + "<SOMETHING/>" + param ("other", "x") + "<PARAM/>"
                                + controllers ("1,2,3") + param ("fill", " no") + timing ("4", "8")
                                + phrase ("2", "16|0|2|0|0|0|100") + controllers ("4,5,6,7,-1"));
    const auto result = V1PresetParser::parse (text);
    ASSERT_TRUE (result.valid);
    EXPECT_FALSE (result.fill);
    EXPECT_EQ (result.phrases[2].getLength(), 8 * 480);
    ASSERT_EQ (result.phrases[2].notes.size(), 1u);
    EXPECT_EQ (result.phrases[2].notes[0].velocityMin, 2) << "the later element for a row wins";

    for (const auto* yes : { "1", "true", " Yes", "T", "y" })
        EXPECT_TRUE (V1PresetParser::parse (document (timing() + controllers() + param ("fill", yes))).fill) << yes;

    for (const auto* no : { "0", "false", "", "on" })
        EXPECT_FALSE (V1PresetParser::parse (document (timing() + controllers() + param ("fill", no))).fill) << no;
}

TEST (V1PresetParser, numbersMustBeWholeDecimalAndFitIn32Bits)
{
    const std::map<juce::String, int> accepted { { "1.0", 1 }, { "1e2", 100 }, { " 7 ", 7 }, { "-0", 0 }, { "+3", 3 }, { "4.", 4 }, { "2147483647", 2147483647 }, { "-2147483648", -2147483647 - 1 } };

    for (const auto& [text, value] : accepted)
        EXPECT_EQ (V1PresetParser::parseWholeNumber (text), std::optional<int> (value)) << text;

    // A no-break space before the digit, then the others.
    for (const auto* text : { "\xc2\xa0\x31", "1.5", "", " ", "0x10", "inf", "nan", "-inf", "1e10", "2147483648", "-2147483649", "1 2", "e5", ".", "1e", "--1", "250e-2", "1,0" })
        EXPECT_EQ (V1PresetParser::parseWholeNumber (juce::String::fromUTF8 (text)), std::nullopt) << text;

    EXPECT_TRUE (V1PresetParser::parse (document (timing ("3.0", "1.6e1") + controllers() + phrase ("0", ""))).valid);
}

TEST (V1PresetParser, everyStructuralFaultRejectsTheWholePreset)
{
    const auto fine = timing() + controllers();

    const std::vector<std::pair<const char*, juce::String>> faults {
        { "not XML", "<cadenzium><PARAM" },
        { "empty text", "" },
        { "current-version root", document (fine, "cadenzium2") },
        { "no speed", document (param ("steps", "16") + controllers()) },
        { "no steps", document (param ("speed", "3") + controllers()) },
        { "speed without value", document ("<PARAM id=\"speed\"/>" + param ("steps", "16") + controllers()) },
        { "speed 16", document (timing ("16") + controllers()) },
        { "speed 1.5", document (timing ("1.5") + controllers()) },
        { "steps -1", document (timing ("3", "-1") + controllers()) },
        { "no controllers", document (timing()) },
        { "seven controller numbers", document (timing() + controllers ("1,2,3,4,5,6,7")) },
        { "eight over two elements plus one", document (timing() + controllers ("1,2,3,4") + controllers ("5,6,7,8") + controllers ("9")) },
        { "controller 128", document (timing() + controllers ("1,2,3,4,5,6,7,128")) },
        { "empty controller number", document (timing() + controllers ("1,2,3,4,5,6,7,")) },
        { "controller without numbers", document (timing() + "<CONTROLLER/>" + controllers()) },
        { "missing cc3", document (fine + phrase ("0", "", {}, 3)) },
        { "row 12", document (fine + phrase ("12", "")) },
        { "row not a number", document (fine + phrase ("x", "")) },
        { "token of 6 fields", preset ("17|0|100|95|0|0") },
        { "pitch row 18", preset ("18|0|100|95|0|0|100") },
        { "pitch row -2147483648", preset ("-2147483648|0|100|95|0|0|100") },
        { "negative start", preset ("17|-1|100|95|0|0|100") },
        { "velocity 128", preset ("17|0|128|95|0|0|100") },
        { "negative last unit", preset ("17|0|100|-1|0|0|100") },
        { "note ending before it starts", preset ("1|50|100|10|0|0|100") },
        { "transpose 25", preset ("17|0|100|95|25|0|100") },
        { "octave 5", preset ("17|0|100|95|0|5|100") },
        { "chance 101", preset ("17|0|100|95|0|0|101") },
        { "fractional velocity", preset ("17|0|99.5|95|0|0|100") },
        { "empty field", preset ("17||100|95|0|0|100") },
        { "start beyond the last tick", preset ("17|26843546|100|26843546|0|0|100", {}, "0", "1") },
        { "end beyond the last tick", preset ("17|0|100|26843545|0|0|100", {}, "0", "1") },
        { "controller token of 1 field", preset ("", { { 2, "5" } }) },
        { "controller value 128", preset ("", { { 2, "0|128" } }) },
        { "pitch wheel 16384", preset ("", { { 7, "0|16384" } }) },
        { "negative controller time", preset ("", { { 2, "-1|0" } }) },
        { "controller time beyond the last tick", preset ("", { { 2, "26843546|0" } }, "0", "1") },
    };

    for (const auto& [name, text] : faults)
    {
        const auto result = V1PresetParser::parse (text);
        EXPECT_FALSE (result.valid) << name;
        EXPECT_TRUE (result.phrases.empty() && result.rows.empty()) << name;
    }

    // The same documents without their fault are fine, so each rejection above is its fault's.
    EXPECT_TRUE (V1PresetParser::parse (document (fine)).valid);
    EXPECT_TRUE (V1PresetParser::parse (preset ("17|0|127|95|24|4|0 17|0|0|0|-24|-4|100")).valid);
    EXPECT_TRUE (V1PresetParser::parse (preset ("", { { 2, "0|0 1|127" }, { 7, "0|0 1|16383" } })).valid);
    EXPECT_TRUE (V1PresetParser::parse (document (fine + phrase ("11", ""))).valid);
    EXPECT_TRUE (V1PresetParser::parse (document (timing() + controllers ("-1,0,1,127") + controllers ("2,3,4,5"))).valid);
}

TEST (V1PresetParser, filesAreReadWholeAndAFileCutInsideACharacterIsInvalid)
{
    cadenzium::test::TemporaryFolder folder;
    const juce::File root (folder.string());

    const auto good = root.getChildFile ("Good.bpre");
    ASSERT_TRUE (good.replaceWithText (preset ("17|0|100|95|0|0|100")));
    EXPECT_TRUE (V1PresetParser::parseFile (good).valid);

    // Cut inside a two-byte character: decoded without reading past the bytes, and invalid.
    const auto cut = root.getChildFile ("Cut.bpre");
    ASSERT_TRUE (cut.replaceWithData ("<cadenzium>\xc3", 12));
    EXPECT_FALSE (V1PresetParser::parseFile (cut).valid);
}

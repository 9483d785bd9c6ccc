#include <tarn/sequence/Sequence.h>
#include <tarn/sequence/notegrid/PhraseLength.h>

#include <gtest/gtest.h>

using namespace tarn;

TEST (PhraseLength, barsBeatsAndSixteenthsBecomeTicksByTheLengthBoxFormula)
{
    // (length, time signature, ticks)
    const std::tuple<BarsBeatsSixteenths, int, int, int> cases[] = {
        { { 1, 0, 0 }, 4, 4, 3840 },          { { 2, 1, 2 }, 4, 4, 7680 + 960 + 480 }, { { 1, 0, 0 }, 6, 8, 2880 },
        { { 0, 3, 1 }, 6, 8, 1440 + 120 },    { { 1, 0, 0 }, 7, 16, 1680 },           { { 0, 0, 1 }, 1, 64, 15 },
        { { 0, 0, 0 }, 4, 4, 1 },             { { 999999, 0, 0 }, 4, 4, Sequence::maxLength },
        { { 1, 0, 0 }, 4, 0, 3840 }, // a time signature the program does not accept reads as 4/4
    };

    for (const auto& [length, numerator, denominator, expectedTicks] : cases)
    {
        EXPECT_EQ (length.toTicks (numerator, denominator), expectedTicks) << length.toString();

        if (expectedTicks > 1 && expectedTicks < Sequence::maxLength)
        {
            EXPECT_EQ (BarsBeatsSixteenths::fromTicks (expectedTicks, numerator, denominator).toTicks (numerator, denominator), expectedTicks);
        }
    }

    EXPECT_EQ (BarsBeatsSixteenths::fromTicks (3840 + 960 + 250, 4, 4), (BarsBeatsSixteenths { 1, 1, 1 }));
}

TEST (PhraseLength, typedLengthsAreReadAndCarried)
{
    EXPECT_EQ (BarsBeatsSixteenths::fromString ("2.1.3"), (BarsBeatsSixteenths { 2, 1, 3 }));
    EXPECT_EQ (BarsBeatsSixteenths::fromString (" 4 "), (BarsBeatsSixteenths { 4, 0, 0 }));
    EXPECT_EQ (BarsBeatsSixteenths::fromString ("1..2"), (BarsBeatsSixteenths { 1, 0, 2 }));
    EXPECT_EQ (BarsBeatsSixteenths::fromString ("99999999999999.0.0")->toTicks (4, 4), Sequence::maxLength);

    for (auto bad : { "", "a.1.0", "-1.0.0", "1.2.3.4", "1,5" })
        EXPECT_FALSE (BarsBeatsSixteenths::fromString (bad).has_value()) << bad;

    EXPECT_EQ ((BarsBeatsSixteenths { 0, 6, 5 }.normalised (4)), (BarsBeatsSixteenths { 1, 3, 1 }));
    EXPECT_EQ ((BarsBeatsSixteenths { 2, -1, 0 }.normalised (4)), (BarsBeatsSixteenths { 1, 3, 0 }));
    EXPECT_EQ ((BarsBeatsSixteenths { 0, 0, -3 }.normalised (3)), (BarsBeatsSixteenths { 0, 0, 0 }));
}

TEST (PhraseLength, aTimeSignatureChangeKeepsTheNumberOfBarsOfAWholeBarPhrase)
{
    // (length, from, to, expected)
    const std::tuple<int, std::pair<int, int>, std::pair<int, int>, int> cases[] = {
        { 3840, { 4, 4 }, { 3, 4 }, 2880 }, // one bar stays one bar
        { 4 * 3840, { 4, 4 }, { 7, 8 }, 4 * 3360 },
        { 2 * 2880, { 3, 4 }, { 4, 4 }, 2 * 3840 },
        { 3 * 1440, { 3, 8 }, { 15, 16 }, 3 * 3600 },
        { 3840 + 960, { 4, 4 }, { 3, 4 }, 3840 + 960 }, // a bar and a beat: not whole bars, kept
        { 250, { 4, 4 }, { 3, 4 }, 250 },
        { Sequence::maxLength, { 4, 4 }, { 12, 8 }, (Sequence::maxLength / 5760) * 5760 }, // as many as fit
        { 0, { 4, 4 }, { 3, 4 }, 0 },
    };

    for (const auto& [length, from, to, expected] : cases)
        EXPECT_EQ (lengthInTimeSignature (length, from.first, from.second, to.first, to.second), expected)
            << length << " " << from.first << "/" << from.second << " to " << to.first << "/" << to.second;
}

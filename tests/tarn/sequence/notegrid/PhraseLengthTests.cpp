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

#include <tarn/sequence/GridSize.h>

#include <gtest/gtest.h>

#include <set>

using tarn::GridSize;

TEST (GridSize, theTwentyFourSizesFollowTheNamingAndTickRules)
{
    const auto& all = GridSize::all();
    std::set<int> identifiers;

    for (const auto& size : all)
        identifiers.insert (size.identifier);

    EXPECT_EQ (identifiers.size(), 24u);
    EXPECT_EQ (all.front().getName(), "1/1");
    EXPECT_EQ (all.front().ticks, 3840);
    EXPECT_EQ (all.back().getName(), "1/128t");
    EXPECT_EQ (all.back().ticks, 30 - 30 / 3);

    const auto sixteenth = GridSize::fromIdentifier (104);
    EXPECT_EQ (sixteenth.getName(), "1/16");
    EXPECT_EQ (sixteenth.ticks, 240);

    const auto dottedEighth = GridSize::fromIdentifier (113);
    EXPECT_EQ (dottedEighth.getName(), "1/8d");
    EXPECT_EQ (dottedEighth.ticks, 720);

    const auto sixteenthTriplet = GridSize::fromIdentifier (124);
    EXPECT_EQ (sixteenthTriplet.getName(), "1/16t");
    EXPECT_EQ (sixteenthTriplet.ticks, 160);

    const auto dottedWhole = GridSize::fromIdentifier (110);
    EXPECT_EQ (dottedWhole.getName(), "1/1d");
    EXPECT_EQ (dottedWhole.ticks, 5760);
}

TEST (GridSize, unknownIdentifiersAndDefaultConstructionGiveASixteenth)
{
    for (int id : { 999, 0, -1, 108, 130, 99 })
    {
        EXPECT_FALSE (GridSize::isValidIdentifier (id)) << id;
        EXPECT_EQ (GridSize::fromIdentifier (id).identifier, 104) << id;
        EXPECT_EQ (GridSize::fromIdentifier (id).ticks, 240) << id;
    }

    EXPECT_EQ (GridSize().identifier, 104);
    EXPECT_EQ (GridSize().ticks, 240);
}

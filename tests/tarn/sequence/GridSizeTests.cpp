#include <tarn/sequence/GridSize.h>

#include <gtest/gtest.h>

#include <set>

using tarn::GridSize;

TEST (GridSize, identifiersNameTheTwentyFourSizesAndUnknownOnesGiveASixteenth)
{
    std::set<int> identifiers;

    for (const auto& size : GridSize::all())
        identifiers.insert (size.identifier);

    EXPECT_EQ (identifiers.size(), 24u);
    const std::tuple<int, const char*, int> known[] = { { 100, "1/1", 3840 }, { 110, "1/1d", 5760 }, { 127, "1/128t", 20 } };

    for (const auto& [identifier, name, ticks] : known)
    {
        EXPECT_EQ (GridSize::fromIdentifier (identifier).getName(), name);
        EXPECT_EQ (GridSize::fromIdentifier (identifier).ticks, ticks) << name;
    }

    for (int id : { 999, 0, -1, 108, 130, 99 })
    {
        EXPECT_FALSE (GridSize::isValidIdentifier (id)) << id;
        EXPECT_EQ (GridSize::fromIdentifier (id).ticks, 240) << id;
    }
}

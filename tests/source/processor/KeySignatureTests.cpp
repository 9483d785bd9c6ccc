#include <source/processor/KeySignature.h>

#include <gtest/gtest.h>

namespace
{
KeySignature key (int root, const char* scaleName) { return KeySignature (root, *Scales::find (scaleName)); }
} // namespace

// C major and "Octaves" on D are played through the pipeline; here the ends of the range.
TEST (KeySignature, lockMovesNotesToTheNearestPitchInTheKeyUpwardFirst)
{
    // At the ends of the note range the search only looks inward.
    EXPECT_EQ (key (11, "Octaves").lockNote (0), 11);
    EXPECT_EQ (key (0, "Octaves").lockNote (127), 120);
}

TEST (KeySignature, packsIntoOneWordAndBackForEveryRootAndScale)
{
    ASSERT_EQ (Scales::all().size(), 15u);

    for (int root = 0; root < 12; ++root)
        for (const auto& scale : Scales::all())
            EXPECT_EQ (KeySignature::unpack (KeySignature (root, scale).pack()), KeySignature (root, scale)) << root << " " << scale.name;

    AtomicKeySignature shared;
    EXPECT_TRUE (shared.store (key (2, "Dorian")));
    EXPECT_FALSE (shared.store (key (2, "Dorian")));
    EXPECT_EQ (shared.load(), key (2, "Dorian"));
}

TEST (KeySignature, stateRoundTripsAndUnusableKeysKeepThePreviousOne)
{
    EXPECT_EQ (key (6, "Dorian").getDisplayName(), "F# Dorian");
    EXPECT_EQ (KeySignature::fromFlags (0, 0b11)->getDisplayName(), "C Invalid scale name");

    // The whole state's round trip carries a key; here what a damaged one gives.
    const auto dMinor = key (2, "Natural Minor");
    EXPECT_EQ (KeySignature::fromValueTree (dMinor.toValueTree(), KeySignature()), dMinor);

    const auto withIntervals = [] (const juce::var& root, const juce::String& intervals)
    {
        juce::ValueTree node ("key_signature");
        node.setProperty ("root", root, nullptr);
        node.appendChild (juce::ValueTree ("scale").setProperty ("intervals", intervals, nullptr), nullptr);
        return node;
    };

    // An empty key would leave the lock's search nowhere to go.
    for (const auto* bad : { "0 0 0 0 0 0 0 0 0 0 0 0 ", "1 0 1", "1 0 2 0 1 1 0 1 0 1 0 1 " })
        EXPECT_EQ (KeySignature::fromValueTree (withIntervals (4, bad), dMinor), dMinor) << "'" << bad << "'";

    EXPECT_EQ (KeySignature::fromValueTree (juce::ValueTree(), dMinor), dMinor);

    const std::pair<juce::var, int> roots[] = { { 100, 4 }, { -1, 11 }, { 1.0e300, 2 } };
    for (const auto& [root, expected] : roots)
        EXPECT_EQ (KeySignature::fromValueTree (withIntervals (root, "1 0 0 0 0 0 0 0 0 0 0 0 "), dMinor).getRoot(), expected) << root.toString();
}

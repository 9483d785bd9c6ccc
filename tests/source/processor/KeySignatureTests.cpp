#include <source/processor/KeySignature.h>

#include <gtest/gtest.h>

namespace
{
KeySignature key (int root, const char* scaleName) { return KeySignature (root, *Scales::find (scaleName)); }
} // namespace

TEST (KeySignature, theAudioThreadsWordAndTheSavedTreeCarryEveryKeyAndUnusableOnesKeepThePreviousKey)
{
    AtomicKeySignature shared;

    for (int root = 0; root < 12; ++root)
        for (const auto& scale : Scales::all())
        {
            shared.store (KeySignature (root, scale));
            EXPECT_EQ (shared.load(), KeySignature (root, scale)) << root << " " << scale.name;
            EXPECT_EQ (KeySignature::fromValueTree (KeySignature (root, scale).toValueTree(), KeySignature()), KeySignature (root, scale));
        }

    EXPECT_FALSE (shared.store (shared.load())) << "storing the same key is no change";
    EXPECT_EQ (KeySignature::fromFlags (0, 0b11)->getDisplayName(), "C Invalid scale name");

    const auto dMinor = key (2, "Natural Minor");
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

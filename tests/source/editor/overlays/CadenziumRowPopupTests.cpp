#include <source/editor/overlays/CadenziumRowPopup.h>

#include <gtest/gtest.h>

#include <array>

TEST (CadenziumRowPopup, theValueListFollowsTheType)
{
    const std::pair<int, std::array<const char*, 4>> cases[] = {
        { CadenziumModifier::pitch, { "1 (Lowest)", "2", "16", "Highest" } },
        { CadenziumModifier::velocity, { "1 (Quitest)", "2", "8", "Loudest" } },
        { CadenziumModifier::timing, { "1 (Oldest)", "2", "8", "Latest" } },
    };

    for (const auto& [type, ends] : cases)
    {
        const auto names = CadenziumRowPopup::valueNamesFor (type);
        ASSERT_GE (names.size(), 4);
        const juce::String shown[] = { names[0], names[1], names[names.size() - 2], names[names.size() - 1] };
        EXPECT_EQ (juce::StringArray (shown, 4), juce::StringArray (ends.data(), 4));
    }

    EXPECT_EQ (CadenziumRowPopup::valueNamesFor (CadenziumModifier::fixed)[60], "C3");
    EXPECT_EQ (CadenziumRowPopup::valueNamesFor (CadenziumModifier::fixed).size(), 128);
    EXPECT_TRUE (CadenziumRowPopup::valueNamesFor (CadenziumModifier::random).isEmpty());
    EXPECT_TRUE (CadenziumRowPopup::valueNamesFor (CadenziumModifier::all).isEmpty());
}

#include <source/editor/widgets/ChordName.h>

#include <gtest/gtest.h>

TEST (ChordName, namesTheCommonChordsAtTheBassSlashesInversionsAndListsTheRest)
{
    const std::vector<std::pair<std::vector<int>, const char*>> cases {
        { {}, "" },
        { { 60 }, "C" },
        { { 48, 60, 72 }, "C" },
        { { 60, 64, 67 }, "C" },
        { { 57, 60, 64 }, "Am" },
        { { 59, 62, 65 }, "Bdim" },
        { { 60, 64, 68 }, "Caug" },
        { { 62, 67, 69 }, "Dsus4" },
        { { 62, 64, 69 }, "Dsus2" },
        { { 40, 47 }, "E5" },
        { { 55, 59, 62, 65 }, "G7" },
        { { 60, 64, 67, 71 }, "Cmaj7" },
        { { 62, 65, 69, 72 }, "Dm7" },
        { { 59, 62, 65, 69 }, "Bm7b5" },
        { { 59, 62, 65, 68 }, "Bdim7" },
        { { 60, 64, 67, 69 }, "C6" }, // over A it would be Am7
        { { 57, 60, 64, 67 }, "Am7" },
        { { 60, 62, 64, 67 }, "Cadd9" },
        { { 43, 59, 62, 65, 69 }, "G9" },
        { { 48, 52, 58 }, "C7" }, // no fifth
        { { 64, 67, 72 }, "C/E" },
        { { 59, 62, 67 }, "G/B" },
        { { 66, 69, 74, 72 }, "D7/F#" },
        { { 61, 63, 60 }, "C C# D#" },
        { { 60, 200, -3, 64, 67 }, "C" }, // what no key plays is left out
    };

    for (const auto& [notes, name] : cases)
        EXPECT_EQ (ChordName::of (notes), juce::String (name)) << juce::String (name);
}

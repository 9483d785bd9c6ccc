#include <tarn/presets/PresetReference.h>

#include <gtest/gtest.h>

using tarn::PresetReference::make;
using tarn::PresetReference::resolve;

namespace
{
const juce::File factory ("/home/ada/.config/Brindlex/Cadenzium 2/Presets/Factory");
const juce::File user ("/home/ada/.config/Brindlex/Cadenzium 2/Presets/User");

// Where the same library lives for someone else, on another machine.
const juce::File otherFactory ("/usr/share/cadenzium2/Presets/Factory");
const juce::File otherUser ("/home/bo/.config/Brindlex/Cadenzium 2/Presets/User");
} // namespace

TEST (PresetReference, namesAPresetByItsPlaceInTheLibraryAndFindsItThereUnderAnyRoots)
{
    const auto arpeggio = make (factory.getChildFile ("Arpeggios/Rising Eighths.bpre"), factory, user);
    const auto mine = make (user.getChildFile ("Pads/Warm.bpre"), factory, user);
    EXPECT_EQ (arpeggio, "Factory/Arpeggios/Rising Eighths.bpre");
    EXPECT_EQ (mine, "User/Pads/Warm.bpre");

    EXPECT_EQ (resolve (arpeggio, otherFactory, otherUser), juce::Array<juce::File> (otherFactory.getChildFile ("Arpeggios/Rising Eighths.bpre")));
    EXPECT_EQ (resolve (mine, otherFactory, otherUser), juce::Array<juce::File> (otherUser.getChildFile ("Pads/Warm.bpre")));

    // A file outside the library keeps its absolute path.
    EXPECT_EQ (make (juce::File ("/tmp/Loose.bpre"), factory, user), "/tmp/Loose.bpre");
}

TEST (PresetReference, anAbsolutePathASongAlreadyHoldsIsTriedAsItIsThenUnderTodaysLibrary)
{
    const auto old = user.getChildFile ("Factory/Odd.bpre").getFullPathName();
    EXPECT_EQ (resolve (old, otherFactory, otherUser), juce::Array<juce::File> ({ juce::File (old), otherUser.getChildFile ("Factory/Odd.bpre") }));

    // Already where it was: tried once.
    EXPECT_EQ (resolve (old, factory, user), juce::Array<juce::File> (juce::File (old)));

    // Not from any library: only the path itself.
    EXPECT_EQ (resolve ("/tmp/Loose.bpre", otherFactory, otherUser), juce::Array<juce::File> (juce::File ("/tmp/Loose.bpre")));
}

TEST (PresetReference, referencesThatNameNoPresetOfTheLibraryResolveToNothing)
{
    for (const auto* reference : { "", "Factory/", "Elsewhere/A.bpre", "Factory/../../../etc/passwd", "User/a/../../b.bpre", "A.bpre" })
        EXPECT_TRUE (resolve (reference, factory, user).isEmpty()) << reference;
}

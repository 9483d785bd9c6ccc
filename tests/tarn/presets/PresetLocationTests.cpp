#include <tarn/presets/PresetReference.h>
#include <tarn/util/LocationRevealer.h>
#include <tests/support/TemporaryFolder.h>

#include <gtest/gtest.h>

using tarn::PresetReference::make;
using tarn::PresetReference::resolve;

TEST (PresetReference, namesAPresetByItsPlaceInTheLibraryAndFindsItThereUnderAnyRoots)
{
    const juce::File factory ("/home/ada/.config/Brindlex/Cadenzium 2/Presets/Factory");
    const juce::File user ("/home/ada/.config/Brindlex/Cadenzium 2/Presets/User");

    // Where the same library lives for someone else, on another machine.
    const juce::File otherFactory ("/usr/share/cadenzium2/Presets/Factory");
    const juce::File otherUser ("/home/bo/.config/Brindlex/Cadenzium 2/Presets/User");

    const auto arpeggio = make (factory.getChildFile ("Arpeggios/Rising Eighths.bpre"), factory, user);
    const auto mine = make (user.getChildFile ("Pads/Warm.bpre"), factory, user);
    EXPECT_EQ (arpeggio, "Factory/Arpeggios/Rising Eighths.bpre");
    EXPECT_EQ (mine, "User/Pads/Warm.bpre");
    EXPECT_EQ (resolve (arpeggio, otherFactory, otherUser), juce::Array<juce::File> (otherFactory.getChildFile ("Arpeggios/Rising Eighths.bpre")));
    EXPECT_EQ (resolve (mine, otherFactory, otherUser), juce::Array<juce::File> (otherUser.getChildFile ("Pads/Warm.bpre")));

    // A file outside the library keeps its absolute path, and resolves to only that.
    EXPECT_EQ (make (juce::File ("/tmp/Loose.bpre"), factory, user), "/tmp/Loose.bpre");
    EXPECT_EQ (resolve ("/tmp/Loose.bpre", otherFactory, otherUser), juce::Array<juce::File> (juce::File ("/tmp/Loose.bpre")));

    // An absolute path a song already holds is tried as it is, then under today's library
    // (once, if that is where it was).
    const auto old = user.getChildFile ("Factory/Odd.bpre").getFullPathName();
    EXPECT_EQ (resolve (old, otherFactory, otherUser), juce::Array<juce::File> ({ juce::File (old), otherUser.getChildFile ("Factory/Odd.bpre") }));
    EXPECT_EQ (resolve (old, factory, user), juce::Array<juce::File> (juce::File (old)));

    for (const auto* reference : { "", "Factory/", "Elsewhere/A.bpre", "Factory/../../../etc/passwd", "User/a/../../b.bpre", "A.bpre" })
        EXPECT_TRUE (resolve (reference, factory, user).isEmpty()) << "names no preset of the library: " << reference;
}

TEST (LocationRevealer, aFolderNameFullOfShellSyntaxReachesTheOpenerAsOneArgument)
{
    cadenzium::test::TemporaryFolder temporary;
    const juce::File root (temporary.string());
    const auto previousDirectory = juce::File::getCurrentWorkingDirectory();
    root.setAsCurrentWorkingDirectory();
    const auto folder = root.getChildFile ("Pads $(touch marker) `touch marker2` \"quoted\" 'single'");
    ASSERT_TRUE (folder.createDirectory());
    const auto preset = folder.getChildFile ("Warm.bpre");
    ASSERT_TRUE (preset.create());

    // Stands in for xdg-open: records how many arguments arrived, and the first.
    const auto record = root.getChildFile ("arguments.txt");
    const auto opener = root.getChildFile ("opener");
    opener.replaceWithText ("#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" > " + record.getFullPathName().quoted ('\'') + "\n", false, false, "\n");
    ASSERT_TRUE (opener.setExecutePermission (true));
    tarn::LocationRevealer revealer (opener.getFullPathName());
    ASSERT_TRUE (revealer.reveal (preset));

    for (int waited = 0; waited < 5000 && revealer.getNumRunningOpeners() > 0; waited += 20)
        juce::Thread::sleep (20);

    EXPECT_EQ (revealer.getNumRunningOpeners(), 0) << "finished openers are collected";
    EXPECT_EQ (juce::StringArray::fromLines (record.loadFileAsString().trimEnd()), juce::StringArray ("1", folder.getFullPathName()));
    EXPECT_FALSE (root.getChildFile ("marker").exists());
    EXPECT_FALSE (root.getChildFile ("marker2").exists());
    EXPECT_FALSE (revealer.reveal (root.getChildFile ("missing/Gone.bpre")));
    previousDirectory.setAsCurrentWorkingDirectory();
}

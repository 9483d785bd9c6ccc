#include <tarn/util/LocationRevealer.h>
#include <tests/support/TemporaryFolder.h>

#include <gtest/gtest.h>

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
    opener.replaceWithText ("#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" > " + record.getFullPathName().quoted ('\'') + "\n",
                            false,
                            false,
                            "\n");
    ASSERT_TRUE (opener.setExecutePermission (true));
    tarn::LocationRevealer revealer (opener.getFullPathName());
    ASSERT_TRUE (revealer.reveal (preset));

    for (int waited = 0; waited < 5000 && revealer.getNumRunningOpeners() > 0; waited += 20)
        juce::Thread::sleep (20);

    EXPECT_EQ (revealer.getNumRunningOpeners(), 0) << "finished openers are collected";
    const auto arguments = juce::StringArray::fromLines (record.loadFileAsString().trimEnd());
    ASSERT_EQ (arguments.size(), 2);
    EXPECT_EQ (arguments[0], "1");
    EXPECT_EQ (arguments[1], folder.getFullPathName());
    EXPECT_FALSE (root.getChildFile ("marker").exists());
    EXPECT_FALSE (root.getChildFile ("marker2").exists());
    EXPECT_FALSE (revealer.reveal (root.getChildFile ("missing/Gone.bpre")));
    previousDirectory.setAsCurrentWorkingDirectory();
}

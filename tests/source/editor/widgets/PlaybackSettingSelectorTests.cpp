#include <source/editor/widgets/KeySignatureSelector.h>
#include <source/editor/widgets/SwingSpeedSelector.h>
#include <source/processor/Cadenzium2AudioProcessor.h>

#include <tests/support/editor/ProductEditorTest.h>

#include <gtest/gtest.h>

using cadenzium::test::HostListener;

TEST (KeySignatureSelector, pickingAScaleSetsTheKeyAndTellsTheHostAndAKeyNoScaleMatchesShowsInvalidScaleName)
{
    Cadenzium2AudioProcessor processor;
    KeySignatureSelector selector (processor, "Key", "Key Signature: The key signature to use for the output");
    HostListener host (processor);

    auto& scales = selector.getScaleBox();
    EXPECT_EQ (scales.getNumItems(), 15);
    EXPECT_EQ (scales.getText(), "Major");

    selector.getRootBox().setSelectedId (3, juce::sendNotificationSync); // D
    scales.setSelectedItemIndex (3, juce::sendNotificationSync); // Dorian
    const auto key = processor.getKeySignature();
    EXPECT_EQ (key.getRoot(), 2);
    EXPECT_EQ (key.getScaleName(), "Dorian");
    EXPECT_GE (host.internalPings, 2);

    // A key no scale of the menu matches keeps its notes when the root moves.
    const auto odd = KeySignature::fromFlags (0, 0b000000000011); // C and C#: no scale of the menu
    ASSERT_TRUE (odd.has_value());
    processor.setKeySignature (*odd);
    selector.refresh();
    EXPECT_EQ (selector.getScaleBox().getText(), "Invalid scale name");

    selector.getRootBox().setSelectedId (8, juce::sendNotificationSync); // G
    EXPECT_EQ (processor.getKeySignature().getRoot(), 7);
    EXPECT_EQ (processor.getKeySignature().getIntervals(), odd->getIntervals());
    EXPECT_EQ (selector.getScaleBox().getText(), "Invalid scale name");
}

TEST (SwingSpeedSelector, eachSpeedSetsTheGridWhoseSecondHalfSwingsAndTellsTheHost)
{
    Cadenzium2AudioProcessor processor;
    SwingSpeedSelector selector (processor, "Swing Speed", "Swing Speed: Set the swing speed");
    HostListener host (processor);
    auto& box = selector.getComboBox();

    EXPECT_EQ (box.getText(), "1/8"); // the default grid, a quarter note
    box.setSelectedId (2, juce::sendNotificationSync);
    EXPECT_EQ (box.getText(), "1/16");
    EXPECT_EQ (processor.getSwingGridChoice(), 2); // an eighth-note grid
    box.setSelectedId (3, juce::sendNotificationSync);
    EXPECT_EQ (box.getText(), "1/32");
    EXPECT_EQ (processor.getSwingGridChoice(), 1); // a sixteenth-note grid
    EXPECT_EQ (host.internalPings, 2);

    // A state that brings another grid shows it.
    processor.setSwingGridChoice (0);
    selector.refresh();
    EXPECT_EQ (box.getText(), "1/8");
}

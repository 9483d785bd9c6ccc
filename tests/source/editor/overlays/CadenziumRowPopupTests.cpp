#include <source/editor/overlays/CadenziumRowPopup.h>
#include <source/processor/Cadenzium2AudioProcessor.h>

#include <gtest/gtest.h>

TEST (CadenziumRowPopup, theValueListFollowsTheType)
{
    const auto pitch = CadenziumRowPopup::valueNamesFor (CadenziumModifier::pitch);
    ASSERT_EQ (pitch.size(), 17);
    EXPECT_EQ (pitch[0], "1 (Lowest)");
    EXPECT_EQ (pitch[1], "2");
    EXPECT_EQ (pitch[15], "16");
    EXPECT_EQ (pitch[16], "Highest");

    const auto velocity = CadenziumRowPopup::valueNamesFor (CadenziumModifier::velocity);
    ASSERT_EQ (velocity.size(), 9);
    EXPECT_EQ (velocity[0], "1 (Quitest)");
    EXPECT_EQ (velocity[7], "8");
    EXPECT_EQ (velocity[8], "Loudest");

    const auto timing = CadenziumRowPopup::valueNamesFor (CadenziumModifier::timing);
    ASSERT_EQ (timing.size(), 9);
    EXPECT_EQ (timing[0], "1 (Oldest)");
    EXPECT_EQ (timing[8], "Latest");

    const auto fixed = CadenziumRowPopup::valueNamesFor (CadenziumModifier::fixed);
    ASSERT_EQ (fixed.size(), 128);
    EXPECT_EQ (fixed[60], "C3");

    EXPECT_TRUE (CadenziumRowPopup::valueNamesFor (CadenziumModifier::random).isEmpty());
    EXPECT_TRUE (CadenziumRowPopup::valueNamesFor (CadenziumModifier::all).isEmpty());
}

TEST (CadenziumRowPopup, itsSectionsShowTheRowAndEachChoiceIsOneUndoStep)
{
    Cadenzium2AudioProcessor processor;
    auto& phrases = processor.getPhraseManager();
    CadenziumRowPopup popup (processor, 2);

    EXPECT_EQ (popup.getTypeBox().getText(), "Pitch");
    EXPECT_EQ (popup.getValueBox().getText(), "3");
    EXPECT_EQ (popup.getTypeBox().getNumItems(), 6);
    EXPECT_EQ (popup.getTransposeBox().getNumItems(), 49);
    EXPECT_EQ (popup.getOctaveBox().getNumItems(), 7);
    EXPECT_EQ (popup.getChannelBox().getNumItems(), 16);
    EXPECT_EQ (popup.getLockButton().getTooltip(), "Lock Generation: Protect this row from generation and mutation, including notes moved into it.");

    // Velocity keeps the value when it fits; the list becomes the velocity list.
    popup.getTypeBox().setSelectedId (CadenziumModifier::velocity + 1, juce::sendNotificationSync);
    EXPECT_EQ (phrases.getRows()[2].type, CadenziumModifier::velocity);
    EXPECT_EQ (phrases.getRows()[2].value, 2);
    EXPECT_EQ (popup.getValueBox().getNumItems(), 9);
    EXPECT_TRUE (phrases.canUndo());

    popup.getValueBox().setSelectedId (9, juce::sendNotificationSync);
    EXPECT_EQ (phrases.getRows()[2].getLabel(), "Loudest");

    popup.getChannelBox().setSelectedId (3, juce::sendNotificationSync);
    popup.getTransposeBox().setSelectedId (24 + 7 + 1, juce::sendNotificationSync);
    popup.getSwatch (4).triggerClick();
    juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
    EXPECT_EQ (phrases.getRows()[2].channel, 3);
    EXPECT_EQ (phrases.getRows()[2].transpose, 7);
    EXPECT_EQ (phrases.getRows()[2].colour, ColourSwatch::palette()[4]);
    EXPECT_EQ (phrases.getRows()[2].getLabel(), "Loudest (Ch 3)");

    // Five choices, five steps: undoing them all brings the row back.
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE (phrases.undo());
    EXPECT_EQ (phrases.getRows()[2], PhraseManager::makeDefaultRows()[2]);
    EXPECT_TRUE (popup.refresh());
    EXPECT_EQ (popup.getTypeBox().getText(), "Pitch");
}

TEST (CadenziumRowPopup, muteAndLockActAtOnceWithoutAnUndoStep)
{
    Cadenzium2AudioProcessor processor;
    auto& phrases = processor.getPhraseManager();
    CadenziumRowPopup popup (processor, 0);

    popup.getMuteButton().setToggleState (true, juce::sendNotificationSync);
    popup.getLockButton().setToggleState (true, juce::sendNotificationSync);
    EXPECT_TRUE (phrases.getRows()[0].muted);
    EXPECT_TRUE (phrases.getRows()[0].generationLock);
    EXPECT_FALSE (phrases.canUndo());
}

TEST (CadenziumRowPopup, deleteRowRemovesItAndAsksToClose)
{
    Cadenzium2AudioProcessor processor;
    auto& phrases = processor.getPhraseManager();
    const auto before = phrases.getRows().size();
    CadenziumRowPopup popup (processor, 1);
    bool closeAsked = false;
    popup.onCloseRequest = [&]
    { closeAsked = true; };

    popup.getDeleteButton().setToggleState (false, juce::sendNotificationSync);
    popup.getDeleteButton().triggerClick();
    juce::MessageManager::getInstance()->runDispatchLoopUntil (20);

    EXPECT_EQ (phrases.getRows().size(), before - 1);
    EXPECT_TRUE (closeAsked);
    EXPECT_EQ (phrases.getUndoTooltip(), "Undo: Delete row");
}

#include <source/editor/overlays/CadenziumRowPopup.h>
#include <source/processor/Cadenzium2AudioProcessor.h>

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

TEST (CadenziumRowPopup, itsSectionsShowTheRowAndEachChoiceIsOneUndoStep)
{
    Cadenzium2AudioProcessor processor;
    auto& phrases = processor.getPhraseManager();
    CadenziumRowPopup popup (processor, 2);

    EXPECT_EQ (popup.getTypeBox().getText(), "Pitch");
    EXPECT_EQ (popup.getValueBox().getText(), "3");

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

    // Mute and lock act at once without an undo step.
    popup.getMuteButton().setToggleState (true, juce::sendNotificationSync);
    popup.getLockButton().setToggleState (true, juce::sendNotificationSync);
    EXPECT_TRUE (phrases.getRows()[2].muted);
    EXPECT_TRUE (phrases.getRows()[2].generationLock);
    EXPECT_FALSE (phrases.canUndo());

    // Delete removes the row and asks to close.
    bool closeAsked = false;
    popup.onCloseRequest = [&]
    { closeAsked = true; };
    popup.getDeleteButton().triggerClick();
    juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
    EXPECT_EQ (phrases.getRows().size(), PhraseManager::makeDefaultRows().size() - 1);
    EXPECT_TRUE (closeAsked);
    EXPECT_EQ (phrases.getUndoTooltip(), "Undo: Delete row");
}

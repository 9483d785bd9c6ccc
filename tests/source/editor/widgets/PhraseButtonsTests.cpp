#include <source/editor/widgets/CadenziumKeyboard.h>
#include <source/editor/widgets/PhraseButtons.h>
#include <source/commands/EditCommands.h>
#include <source/processor/Cadenzium2AudioProcessor.h>

#include <gtest/gtest.h>

namespace
{
struct ClickSpy : PhraseButtons::Listener
{
    void phraseButtonClicked (int slot) override { clicked.push_back (slot); }
    std::vector<int> clicked;
};

/** Whether the menu (or a sub-menu) has an item with this id, and whether it is enabled. */
std::optional<bool> itemEnabled (const juce::PopupMenu& menu, int itemId)
{
    for (juce::PopupMenu::MenuItemIterator it (menu, true); it.next();)
        if (it.getItem().itemID == itemId)
            return it.getItem().isEnabled;
    return std::nullopt;
}

juce::String itemText (const juce::PopupMenu& menu, int itemId)
{
    for (juce::PopupMenu::MenuItemIterator it (menu, true); it.next();)
        if (it.getItem().itemID == itemId)
            return it.getItem().text;
    return {};
}
} // namespace

TEST (PhraseButtons, tooltipsAndTheKeyboardsKeyswitchOctaveFollowTheRangeWithMiddleCAsC3)
{
    EXPECT_TRUE (PhraseButtons::tooltipFor (1, 5).startsWith ("Phrase 2 (C#3): "));
    EXPECT_TRUE (PhraseButtons::tooltipFor (11, 0).startsWith ("Phrase 12 (B-2): "));

    Cadenzium2AudioProcessor processor;
    PhraseButtons buttons (processor);
    CadenziumKeyboard keyboard (processor);
    EXPECT_EQ (buttons.getButton (3).getTooltip(), PhraseButtons::tooltipFor (3, 2));
    EXPECT_EQ (keyboard.getKeyswitchLowestNote(), 24);

    auto& state = processor.getParameterState();
    auto* range = state.getParameter ("keyswitch_range");
    range->setValueNotifyingHost (range->convertTo0to1 (5.0f));
    buttons.refresh();
    keyboard.refresh();
    EXPECT_EQ (buttons.getButton (3).getTooltip(), PhraseButtons::tooltipFor (3, 5));
    EXPECT_EQ (keyboard.getKeyswitchLowestNote(), 60);

    // With keyswitches off the keyboard marks no octave.
    state.getParameter ("keyswitch_enable")->setValueNotifyingHost (0.0f);
    keyboard.refresh();
    EXPECT_EQ (keyboard.getKeyswitchLowestNote(), -1);
}

TEST (PhraseButtons, theMenuListsPhrasesByNameAndItsCopyDeleteAndMovesWorkWhereTheyCan)
{
    Cadenzium2AudioProcessor processor;
    PhraseButtons buttons (processor);
    ClickSpy spy;
    buttons.addListener (&spy);

    EditCommands commands (processor);
    commands.generatePhrase (0, consts::RegenerationMode::phrase);
    commands.renamePhrase (0, "Source");
    commands.renamePhrase (2, "Verse");
    commands.renamePhrase (5, "Target");

    // Moves only where they can go; not copied onto itself.
    const auto first = buttons.createPhraseMenu (0);
    EXPECT_EQ (itemEnabled (first, PhraseButtons::moveLeftItem), false);
    EXPECT_EQ (itemEnabled (first, PhraseButtons::moveRightItem), true);
    EXPECT_EQ (itemText (first, PhraseButtons::copyToFirstItem + 2), "Phrase 3 (Verse)");
    EXPECT_EQ (itemText (first, PhraseButtons::copyToFirstItem + 3), "Phrase 4");
    EXPECT_EQ (itemEnabled (first, PhraseButtons::copyToFirstItem), false);
    EXPECT_EQ (itemEnabled (first, PhraseButtons::renameItem), true);
    EXPECT_EQ (itemEnabled (first, PhraseButtons::deleteItem), true);
    const auto last = buttons.createPhraseMenu (11);
    EXPECT_EQ (itemEnabled (last, PhraseButtons::moveLeftItem), true);
    EXPECT_EQ (itemEnabled (last, PhraseButtons::moveRightItem), false);

    // Copy gives the target the sequence, keeps its name and switches to it.
    const auto source = processor.getPhrase (0);
    buttons.phrasesChanged();
    buttons.refresh();
    EXPECT_TRUE (buttons.getButton (0).holdsNotes());
    EXPECT_FALSE (buttons.getButton (5).holdsNotes());

    buttons.handlePhraseMenuResult (0, PhraseButtons::copyToFirstItem + 5);
    EXPECT_TRUE (buttons.getButton (5).holdsNotes()) << "the copy marks its target";

    EXPECT_EQ (processor.getPhrase (5).notes, source.notes);
    EXPECT_EQ (processor.getPhrase (5).name, "Target");
    EXPECT_EQ (spy.clicked, std::vector<int> { 5 });
    EXPECT_EQ (buttons.getEditedPhrase(), 5);
    EXPECT_EQ (processor.getPhraseManager().getUndoTooltip(), "Undo: Edit phrase");

    // Delete leaves one empty bar.
    ASSERT_FALSE (processor.getPhrase (5).notes.empty());
    buttons.handlePhraseMenuResult (5, PhraseButtons::deleteItem);
    EXPECT_TRUE (processor.getPhrase (5).notes.empty());
    EXPECT_FALSE (buttons.getButton (5).holdsNotes()) << "a deleted phrase is empty again";
    EXPECT_EQ (processor.getPhrase (5).getLength(), 3840);
    buttons.removeListener (&spy);
}

#include <source/processor/Cadenzium2AudioProcessor.h>
#include <source/processor/state/RowTree.h>

#include <gtest/gtest.h>

namespace
{
juce::MemoryBlock stateOf (Cadenzium2AudioProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getStateInformation (block);
    return block;
}
} // namespace

TEST (PhrasesAndRowsState, aFreshInstanceGetsBackPhrasesRowsAndThePlayingSlot)
{
    Cadenzium2AudioProcessor original;

    RowList rows;
    rows.resize (3);
    rows[0].type = CadenziumModifier::fixed;
    rows[0].value = 72;
    rows[1].type = CadenziumModifier::all;
    rows[1].channel = 3;
    rows[1].muted = true;
    rows[2].name = "Bass";
    rows[2].transpose = -12;
    rows[2].generationLock = true;
    original.getPhraseManager().setRows (rows);

    tarn::Sequence phrase;
    phrase.name = "Riff";
    phrase.setLength (7680);
    tarn::SequenceNote note;
    note.number = 1;
    note.timestamp = 960;
    note.length = 240;
    note.velocityMin = 90;
    note.velocityMax = 110;
    phrase.notes.push_back (note);
    phrase.normalise();
    original.getPhraseManager().setSequence (5, phrase, nullptr);
    original.requestPhrase (5);

    const auto state = stateOf (original);

    Cadenzium2AudioProcessor restored;
    restored.setStateInformation (state.getData(), (int) state.getSize());

    EXPECT_EQ (restored.getPhraseManager().getRows(), rows);
    EXPECT_EQ (restored.getPhrase (5).name, "Riff");
    EXPECT_EQ (restored.getPhrase (5).notes, phrase.notes);
    EXPECT_EQ (restored.getRequestedPhrase(), 5);

    // Writing the restored state again gives the same bytes.
    EXPECT_EQ (stateOf (restored), state);
}

TEST (PhrasesAndRowsState, rowsAreClampedByTypeAndCappedAtOneHundredTwentyEight)
{
    juce::ValueTree node (RowTree::rowsType);

    for (int i = 0; i < 150; ++i)
        node.appendChild (juce::ValueTree (RowTree::rowType).setProperty ("type", 1, nullptr).setProperty ("value", 12, nullptr).setProperty ("channel", 0, nullptr), nullptr);

    node.appendChild (juce::ValueTree ("not_a_row"), nullptr);

    const auto rows = RowTree::read (node);
    ASSERT_EQ ((int) rows.size(), CadenziumModifier::maxRows);
    EXPECT_EQ (rows[0].value, 8);
    EXPECT_EQ (rows[0].channel, 1);

    const auto defaults = RowTree::readRow (juce::ValueTree (RowTree::rowType));
    EXPECT_EQ (defaults, CadenziumModifier());
}

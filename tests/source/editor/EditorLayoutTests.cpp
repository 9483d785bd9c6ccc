#include <source/commands/EditCommands.h>
#include <source/editor/Cadenzium2AudioProcessorEditor.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tests/source/editor/EditorTestHelpers.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
void expectRowsOnGridLines (Cadenzium2AudioProcessorEditor& editor, const juce::String& when)
{
    auto& rows = editor.getRowEditor();
    auto& pianoRoll = editor.getPianoRoll();
    const auto& axis = pianoRoll.getRowAxis();
    ASSERT_EQ (axis.numRows, rows.getNumRows()) << when;
    const auto gridTop = editor.getLocalPoint (&pianoRoll, pianoRoll.getGridBounds().getPosition()).y;

    for (int row = 0; row < rows.getNumRows(); ++row)
    {
        const auto top = editor.getLocalPoint (&rows.getRow (row), juce::Point<int>()).y;
        EXPECT_NEAR (top, gridTop + axis.yOf (row), 1.0) << "row " << row << ", " << when;
        EXPECT_NEAR (rows.getRow (row).getHeight(), axis.rowHeight, 1.0) << "row " << row << ", " << when;
    }
}
} // namespace

TEST (EditorLayout, eachRowStandsOnItsGridLineAlsoWhenTheGridScrolls)
{
    Cadenzium2AudioProcessor processor;
    EditCommands (processor).newRows (40); // more rows than the grid shows at once
    Cadenzium2AudioProcessorEditor editor (processor);
    auto& pianoRoll = editor.getPianoRoll();
    ASSERT_EQ (editor.getRowEditor().getNumRows(), 48);

    expectRowsOnGridLines (editor, "at the top");
    ASSERT_GT (pianoRoll.getRowAxis().maximumScroll (pianoRoll.getGridBounds().getHeight()), 100.0);
    pianoRoll.setRowScroll (100.0);
    expectRowsOnGridLines (editor, "scrolled by 100");
    editor.setSize (1000, 800);
    expectRowsOnGridLines (editor, "in the smallest window");
}

TEST (EditorLayout, fewRowsShareTheGridUpToAMaximumAndEmptyLanesFillTheRestAbove)
{
    for (auto numRows : { 1, 3, 8 })
    {
        Cadenzium2AudioProcessor processor;
        EditCommands commands (processor);
        while ((int) processor.getPhraseManager().getRows().size() > numRows)
            ASSERT_TRUE (commands.deleteRow ((int) processor.getPhraseManager().getRows().size() - 1));

        Cadenzium2AudioProcessorEditor editor (processor);
        auto& pianoRoll = editor.getPianoRoll();

        for (auto size : { juce::Point<int> (1244, 935), juce::Point<int> (1000, 800), juce::Point<int> (2000, 1500) })
        {
            editor.setSize (size.x, size.y);
            const auto when = juce::String (numRows) + " rows at " + juce::String (size.x) + "x" + juce::String (size.y);
            const auto& axis = pianoRoll.getRowAxis();
            const auto gridHeight = (double) pianoRoll.getGridBounds().getHeight();
            ASSERT_EQ (axis.numRows, numRows) << when;
            expectRowsOnGridLines (editor, when);

            // Each row as tall as the grid allows, never taller than a comfortable lane.
            EXPECT_NEAR (axis.rowHeight, std::min (gridHeight / numRows, 64.0), 0.5) << when;

            // Row 0 stands at the grid's foot; what the rows leave is empty lanes above them.
            EXPECT_NEAR (axis.yOf (0) + axis.rowHeight, gridHeight, 1.0) << when;
            EXPECT_NEAR (axis.stackTop + numRows * axis.rowHeight, gridHeight, 1.0) << when;
            EXPECT_EQ (axis.rowAt (gridHeight - 1.0), 0) << when;
            if (axis.stackTop >= 1.0)
            {
                EXPECT_EQ (axis.rowAt (axis.stackTop - 1.0), numRows) << "an empty lane is no row: " << when;
            }
        }
    }
}

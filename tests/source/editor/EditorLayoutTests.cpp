#include <source/commands/EditCommands.h>
#include <source/editor/Cadenzium2AudioProcessorEditor.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tests/source/editor/EditorTestHelpers.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

TEST (EditorLayout, eachRowStandsOnItsGridLineAlsoWhenTheGridScrolls)
{
    Cadenzium2AudioProcessor processor;
    EditCommands (processor).newRows (40); // more rows than the grid shows at once
    Cadenzium2AudioProcessorEditor editor (processor);
    auto& rows = editor.getRowEditor();
    auto& pianoRoll = editor.getPianoRoll();
    ASSERT_EQ (rows.getNumRows(), 48);

    auto expectOnGridLines = [&] (const char* when)
    {
        const auto& axis = pianoRoll.getRowAxis();
        ASSERT_EQ (axis.numRows, rows.getNumRows());
        const auto gridTop = editor.getLocalPoint (&pianoRoll, pianoRoll.getGridBounds().getPosition()).y;

        for (int row = 0; row < rows.getNumRows(); ++row)
        {
            const auto top = editor.getLocalPoint (&rows.getRow (row), juce::Point<int>()).y;
            EXPECT_NEAR (top, gridTop + axis.yOf (row), 1.0) << "row " << row << " " << when;
            EXPECT_NEAR (rows.getRow (row).getHeight(), axis.rowHeight, 1.0) << "row " << row << " " << when;
        }
    };

    expectOnGridLines ("at the top");
    ASSERT_GT (pianoRoll.getRowAxis().maximumScroll (pianoRoll.getGridBounds().getHeight()), 100.0);

    pianoRoll.setRowScroll (100.0);
    expectOnGridLines ("scrolled by 100");

    editor.setSize (1000, 800);
    expectOnGridLines ("in the smallest window");
}

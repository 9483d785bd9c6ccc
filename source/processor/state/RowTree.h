#pragma once

#include <source/processor/CadenziumModifier.h>

#include <juce_data_structures/juce_data_structures.h>

/** The row list as the state tree keeps it: "cadenzium_rows" with one "cadenzium_row" per
    row, in row order. */
namespace RowTree
{
inline const juce::Identifier rowsType { "cadenzium_rows" };
inline const juce::Identifier rowType { "cadenzium_row" };

juce::ValueTree write (const RowList& rows);
juce::ValueTree writeRow (const CadenziumModifier& row);

/** Missing properties take a new row's defaults; values are brought into the ranges
        playback can use; rows past the 128th are dropped. Other children are ignored. */
RowList read (const juce::ValueTree& rowsNode);
CadenziumModifier readRow (const juce::ValueTree& rowNode);
} // namespace RowTree

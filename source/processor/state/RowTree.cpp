#include "RowTree.h"

#include <cmath>
#include <limits>

namespace RowTree
{
namespace
{
    const juce::Identifier transposeId { "transpose" }, octaveId { "octave" }, channelId { "channel" },
        typeId { "type" }, valueId { "value" }, nameId { "name" }, colourId { "colour" }, mutedId { "muted" },
        lockId { "generation_lock" };

    int readInt (const juce::ValueTree& node, const juce::Identifier& id, int defaultValue)
    {
        const auto& value = node.getProperty (id);

        if (value.isVoid())
            return defaultValue;

        // Numbers from a file may be anything: keep them inside an int before clamping.
        return (int) juce::jlimit (-1.0e6, 1.0e6, (double) value);
    }

    /** A colour is a whole 32-bit ARGB word: alpha in the top byte, so real colours are
        written as negative numbers (or, by other writers, as numbers above the int range).
        Either form comes back as the same 32 bits; anything else is no colour. */
    int readColour (const juce::ValueTree& node)
    {
        const auto& value = node.getProperty (colourId);
        const auto number = value.isString() ? value.toString().trim().getDoubleValue() : (double) value;

        if (! std::isfinite (number) || number != std::floor (number) || number < (double) std::numeric_limits<int>::min()
            || number > (double) std::numeric_limits<juce::uint32>::max())
            return 0;

        return (int) (juce::uint32) (juce::int64) number;
    }
} // namespace

juce::ValueTree writeRow (const CadenziumModifier& row)
{
    juce::ValueTree node (rowType);
    node.setProperty (transposeId, row.transpose, nullptr);
    node.setProperty (octaveId, row.octave, nullptr);
    node.setProperty (channelId, row.channel, nullptr);
    node.setProperty (typeId, row.type, nullptr);
    node.setProperty (valueId, row.value, nullptr);
    node.setProperty (nameId, row.name, nullptr);
    node.setProperty (colourId, row.colour, nullptr);
    node.setProperty (mutedId, row.muted, nullptr);
    node.setProperty (lockId, row.generationLock, nullptr);
    return node;
}

juce::ValueTree write (const RowList& rows)
{
    juce::ValueTree node (rowsType);

    for (const auto& row : rows)
        node.appendChild (writeRow (row), nullptr);

    return node;
}

CadenziumModifier readRow (const juce::ValueTree& node)
{
    CadenziumModifier row;
    row.transpose = readInt (node, transposeId, 0);
    row.octave = readInt (node, octaveId, 0);
    row.channel = readInt (node, channelId, 1);
    row.type = readInt (node, typeId, 0);
    row.value = readInt (node, valueId, 0);
    row.name = node.getProperty (nameId).toString();
    row.colour = readColour (node);
    row.muted = (bool) node.getProperty (mutedId, false);
    row.generationLock = (bool) node.getProperty (lockId, false);
    row.sanitise();
    return row;
}

RowList read (const juce::ValueTree& rowsNode)
{
    RowList rows;

    for (const auto& child : rowsNode)
    {
        if (! child.hasType (rowType))
            continue;

        if ((int) rows.size() >= CadenziumModifier::maxRows)
            break;

        rows.push_back (readRow (child));
    }

    return rows;
}

} // namespace RowTree

#include "RowActions.h"

#include <source/processor/PhraseManager.h>
#include <source/processor/state/RowTree.h>

//==============================================================================
UndoableNewRow::UndoableNewRow (PhraseManager& managerToUse, int countToUse)
    : manager (managerToUse)
    , count (countToUse)
{
}

UndoableNewRow::~UndoableNewRow() = default;

CadenziumModifier UndoableNewRow::makeNextRow (const RowList& rows)
{
    constexpr int highestNewRank = 15;
    int highest = -1;

    for (const auto& row : rows)
        if (row.type == CadenziumModifier::pitch)
            highest = std::max (highest, row.value);

    CadenziumModifier row;
    row.type = CadenziumModifier::pitch;
    row.value = highest < 0 ? 1 : std::min (highest + 1, highestNewRank);
    return row;
}

bool UndoableNewRow::perform()
{
    auto rows = manager.getRows();
    added = juce::jlimit (0, std::max (0, CadenziumModifier::maxRows - (int) rows.size()), count);

    if (added == 0)
        return false;

    for (int i = 0; i < added; ++i)
        rows.push_back (makeNextRow (rows));

    manager.setRows (std::move (rows));
    return true;
}

bool UndoableNewRow::undo()
{
    auto rows = manager.getRows();
    rows.resize ((size_t) std::max (0, (int) rows.size() - added));
    manager.setRows (std::move (rows));
    return true;
}

//==============================================================================
UndoableDeleteRow::UndoableDeleteRow (PhraseManager& managerToUse, int rowIndexToUse)
    : manager (managerToUse)
    , rowIndex (rowIndexToUse)
{
}

UndoableDeleteRow::~UndoableDeleteRow() = default;

bool UndoableDeleteRow::perform()
{
    auto rows = manager.getRows();

    if (! juce::isPositiveAndBelow (rowIndex, (int) rows.size()))
        return false;

    before = RowTree::write (rows);
    rows.erase (rows.begin() + rowIndex);
    after = RowTree::write (rows);
    manager.setRows (std::move (rows));
    return true;
}

bool UndoableDeleteRow::undo()
{
    manager.setRows (RowTree::read (before));
    return true;
}

//==============================================================================
UndoableMoveRow::UndoableMoveRow (PhraseManager& managerToUse, int fromToUse, int toToUse)
    : manager (managerToUse)
    , from (fromToUse)
    , to (toToUse)
{
}

UndoableMoveRow::~UndoableMoveRow() = default;

bool UndoableMoveRow::perform()
{
    auto rows = manager.getRows();
    const auto size = (int) rows.size();

    if (from == to || ! juce::isPositiveAndBelow (from, size) || ! juce::isPositiveAndBelow (to, size))
        return false;

    before = RowTree::write (rows);
    const auto moved = rows[(size_t) from];
    rows.erase (rows.begin() + from);
    rows.insert (rows.begin() + to, moved);
    after = RowTree::write (rows);
    manager.setRows (std::move (rows));
    return true;
}

bool UndoableMoveRow::undo()
{
    manager.setRows (RowTree::read (before));
    return true;
}

//==============================================================================
UndoableChangeRow::UndoableChangeRow (PhraseManager& managerToUse, int rowIndexToUse, const CadenziumModifier& settingsToUse)
    : manager (managerToUse)
    , rowIndex (rowIndexToUse)
    , settings (settingsToUse)
{
}

UndoableChangeRow::~UndoableChangeRow() = default;

CadenziumModifier UndoableChangeRow::withSettings (const CadenziumModifier& row, const CadenziumModifier& source)
{
    auto result = row;
    result.type = source.type;
    result.value = source.value;
    result.transpose = source.transpose;
    result.octave = source.octave;
    result.channel = source.channel;
    result.colour = source.colour;
    result.name = source.name;
    result.sanitise();
    return result;
}

bool UndoableChangeRow::perform()
{
    auto rows = manager.getRows();

    if (! juce::isPositiveAndBelow (rowIndex, (int) rows.size()))
        return false;

    auto& row = rows[(size_t) rowIndex];
    const auto changed = withSettings (row, settings);

    if (changed == row)
        return false;

    before = row;
    row = changed;
    manager.setRows (std::move (rows));
    return true;
}

bool UndoableChangeRow::undo()
{
    auto rows = manager.getRows();

    if (juce::isPositiveAndBelow (rowIndex, (int) rows.size()))
    {
        auto& row = rows[(size_t) rowIndex];
        row = withSettings (row, before);
        manager.setRows (std::move (rows));
    }

    return true;
}

//==============================================================================
UndoableSetRowSwitch::UndoableSetRowSwitch (PhraseManager& managerToUse, int rowIndexToUse, Switch whichToUse, bool isOnToUse)
    : manager (managerToUse)
    , rowIndex (rowIndexToUse)
    , which (whichToUse)
    , isOn (isOnToUse)
{
}

UndoableSetRowSwitch::~UndoableSetRowSwitch() = default;

bool UndoableSetRowSwitch::setTo (bool value)
{
    auto rows = manager.getRows();

    if (! juce::isPositiveAndBelow (rowIndex, (int) rows.size()))
        return false;

    auto& row = rows[(size_t) rowIndex];
    auto& target = which == Switch::mute ? row.muted : row.generationLock;

    if (target == value)
        return false;

    target = value;
    manager.setRows (std::move (rows));
    return true;
}

bool UndoableSetRowSwitch::perform()
{
    return setTo (isOn);
}

bool UndoableSetRowSwitch::undo()
{
    setTo (! isOn);
    return true;
}

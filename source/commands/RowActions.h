#pragma once

#include <source/processor/CadenziumModifier.h>

#include <juce_data_structures/juce_data_structures.h>

class PhraseManager;

// Built by the editing commands and performed, undone and redone by the phrase manager's
// history, all on the message thread with the state lock held.

/** Appends rows to the row table, never past its 128 rows. Each new row is a Pitch row one
    rank above the highest Pitch row there is (at most value 15), on channel 1. */
class UndoableNewRow : public juce::UndoableAction
{
public:
    UndoableNewRow (PhraseManager& manager, int count); // [message thread]
    ~UndoableNewRow() override;

    /** Discarded when the table is full (or count is not positive). */
    bool perform() override;
    bool undo() override;

    /** The row the next New Row adds to this table. [any thread] */
    static CadenziumModifier makeNextRow (const RowList& rows);

private:
    PhraseManager& manager;
    const int count;
    int added = 0;

    JUCE_DECLARE_NON_COPYABLE (UndoableNewRow)
};

/** Removes one row; later rows move down one place. Undo rebuilds the table from a
    "cadenzium_rows" snapshot. */
class UndoableDeleteRow : public juce::UndoableAction
{
public:
    UndoableDeleteRow (PhraseManager& manager, int rowIndex); // [message thread]
    ~UndoableDeleteRow() override;

    bool perform() override;
    bool undo() override;

private:
    PhraseManager& manager;
    const int rowIndex;
    juce::ValueTree before, after;

    JUCE_DECLARE_NON_COPYABLE (UndoableDeleteRow)
};

/** Moves one row to another place; the rows in between shift by one towards the old place. */
class UndoableMoveRow : public juce::UndoableAction
{
public:
    UndoableMoveRow (PhraseManager& manager, int from, int to); // [message thread]
    ~UndoableMoveRow() override;

    bool perform() override;
    bool undo() override;

private:
    PhraseManager& manager;
    const int from, to;
    juce::ValueTree before, after;

    JUCE_DECLARE_NON_COPYABLE (UndoableMoveRow)
};

/** The row popup's settings of one row: type, value, transpose, octave, channel, colour and
    name. Mute and generation lock are left alone, on perform and on undo: they are steps of
    their own (UndoableSetRowSwitch), so undoing a settings change never brings back an old
    mute. */
class UndoableChangeRow : public juce::UndoableAction
{
public:
    UndoableChangeRow (PhraseManager& manager, int rowIndex, const CadenziumModifier& settings); // [message thread]
    ~UndoableChangeRow() override;

    /** Discarded when the row already has these settings. */
    bool perform() override;
    bool undo() override;

    /** `row` with the popup's settings taken from `settings`, brought into range. */
    static CadenziumModifier withSettings (const CadenziumModifier& row, const CadenziumModifier& settings);

private:
    PhraseManager& manager;
    const int rowIndex;
    const CadenziumModifier settings;
    CadenziumModifier before;

    JUCE_DECLARE_NON_COPYABLE (UndoableChangeRow)
};

/** One of a row's two switches, Mute or Lock Generation, set to a value; undo sets it back.
    Only that switch is touched, so the steps before and after it in the history stay
    independent of it. */
class UndoableSetRowSwitch : public juce::UndoableAction
{
public:
    enum class Switch
    {
        mute,
        generationLock
    };

    UndoableSetRowSwitch (PhraseManager& manager, int rowIndex, Switch which, bool isOn); // [message thread]
    ~UndoableSetRowSwitch() override;

    /** Discarded when the row is gone or the switch already has the value. */
    bool perform() override;
    bool undo() override;

private:
    bool setTo (bool value);

    PhraseManager& manager;
    const int rowIndex;
    const Switch which;
    const bool isOn;

    JUCE_DECLARE_NON_COPYABLE (UndoableSetRowSwitch)
};

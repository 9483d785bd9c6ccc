#include "PhraseManager.h"

PhraseManager::PhraseManager()
{
    setRows (makeDefaultRows());
}

void PhraseManager::setSequence (int slot, const tarn::Sequence& sequence, void* source)
{
    // The base stores and marks its own copy; the caller's value is never touched.
    const juce::ScopedLock sl (*stateLock);
    AdvancedSequenceManager::setSequence (slot, sequence, source);

    if (juce::isPositiveAndBelow (slot, numSlots))
        ++phraseVersions[(size_t) slot];
}

juce::uint32 PhraseManager::getPhraseVersion (int slot) const noexcept
{
    return juce::isPositiveAndBelow (slot, numSlots) ? phraseVersions[(size_t) slot] : 0;
}

RowList PhraseManager::getRows() const
{
    const juce::ScopedLock sl (*stateLock);
    return rows;
}

ControllerTypeList PhraseManager::getControllerTypes() const
{
    const juce::ScopedLock sl (*stateLock);
    return controllerTypes;
}

RowList PhraseManager::makeDefaultRows()
{
    RowList defaults;

    for (int value = 0; value < 8; ++value)
    {
        CadenziumModifier row;
        row.type = CadenziumModifier::pitch;
        row.value = value;
        defaults.push_back (row);
    }

    return defaults;
}

void PhraseManager::setRows (RowList newRows)
{
    if ((int) newRows.size() > CadenziumModifier::maxRows)
        newRows.resize ((size_t) CadenziumModifier::maxRows);

    for (auto& row : newRows)
        row.sanitise();

    {
        const juce::ScopedLock sl (*stateLock);
        rows = newRows;
        rowHolder.publish (std::move (newRows));
    }

    announceRowsChanged();
}

void PhraseManager::setControllerTypes (ControllerTypeList newTypes)
{
    for (auto& type : newTypes)
        type = type.sanitised();

    {
        const juce::ScopedLock sl (*stateLock);
        controllerTypes = std::move (newTypes);
    }

    announceControllerTypesChanged();
}

tarn::Sequence PhraseManager::makeDefaultSequence() const
{
    tarn::Sequence sequence;
    sequence.setLength (tarn::Ticks::perWhole);
    sequence.lanes = toLanes (getControllerTypes());
    sequence.normalise();
    return sequence;
}

void PhraseManager::announceRowsChanged()
{
    editListeners.call ([] (EditListener& l)
                        { l.rowsChanged(); });
}

void PhraseManager::announceControllerTypesChanged()
{
    editListeners.call ([] (EditListener& l)
                        { l.controllerTypesChanged(); });
}

//==============================================================================
PhraseManager::Transaction::Transaction (PhraseManager& managerToUse, const juce::String& name)
    : manager (managerToUse)
    , lock (*managerToUse.stateLock)
{
    manager.undoManager.beginNewTransaction (name);
}

bool PhraseManager::Transaction::perform (juce::UndoableAction* action)
{
    return manager.undoManager.perform (action);
}

PhraseManager::Transaction::~Transaction()
{
    manager.publishHistoryNames();
}

bool PhraseManager::undo()
{
    const juce::ScopedLock sl (*stateLock);
    const auto undone = undoManager.undo();
    publishHistoryNames();
    return undone;
}

bool PhraseManager::redo()
{
    const juce::ScopedLock sl (*stateLock);
    const auto redone = undoManager.redo();
    publishHistoryNames();
    return redone;
}

void PhraseManager::publishHistoryNames()
{
    HistoryNames names;
    names.canUndo = undoManager.canUndo();
    names.canRedo = undoManager.canRedo();
    names.undoName = names.canUndo ? undoManager.getUndoDescription() : juce::String();
    names.redoName = names.canRedo ? undoManager.getRedoDescription() : juce::String();
    historyNames.publish (std::move (names));
}

PhraseManager::HistoryNames PhraseManager::getHistoryNames() const
{
    // The message thread is the only reader: it adopts the newest names and frees the old.
    historyNames.collectGarbage();
    historyNames.update();
    return historyNames.get();
}

juce::String PhraseManager::getUndoTooltip() const
{
    const auto name = getHistoryNames().undoName;
    return name.isNotEmpty() ? "Undo: " + name : juce::String ("Nothing to undo");
}

juce::String PhraseManager::getRedoTooltip() const
{
    const auto name = getHistoryNames().redoName;
    return name.isNotEmpty() ? "Redo: " + name : juce::String ("Nothing to redo");
}

void PhraseManager::clearUndoHistory()
{
    const juce::ScopedLock sl (*stateLock);
    undoManager.clearUndoHistory();
    publishHistoryNames();
}

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

void PhraseManager::setSequence (const tarn::Sequence& sequence, void* source)
{
    setSequence (getNumSequences(), sequence, source);
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
    sequence.lanes = toLanes (controllerTypes);
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

bool PhraseManager::undo()
{
    const juce::ScopedLock sl (*stateLock);
    return undoManager.undo();
}

bool PhraseManager::redo()
{
    const juce::ScopedLock sl (*stateLock);
    return undoManager.redo();
}

bool PhraseManager::canUndo() const
{
    const juce::ScopedLock sl (*stateLock);
    return undoManager.canUndo();
}

bool PhraseManager::canRedo() const
{
    const juce::ScopedLock sl (*stateLock);
    return undoManager.canRedo();
}

juce::String PhraseManager::getUndoTooltip() const
{
    const juce::ScopedLock sl (*stateLock);
    const auto name = undoManager.canUndo() ? undoManager.getUndoDescription() : juce::String();
    return name.isNotEmpty() ? "Undo: " + name : juce::String ("Nothing to undo");
}

juce::String PhraseManager::getRedoTooltip() const
{
    const juce::ScopedLock sl (*stateLock);
    const auto name = undoManager.canRedo() ? undoManager.getRedoDescription() : juce::String();
    return name.isNotEmpty() ? "Redo: " + name : juce::String ("Nothing to redo");
}

void PhraseManager::clearUndoHistory()
{
    const juce::ScopedLock sl (*stateLock);
    undoManager.clearUndoHistory();
}

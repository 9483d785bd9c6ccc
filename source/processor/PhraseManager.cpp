#include "PhraseManager.h"

PhraseManager::PhraseManager()
{
    setRows (makeDefaultRows());
}

void PhraseManager::setSequence (int slot, const tarn::Sequence& sequence, void* source)
{
    // The base stores and marks its own copy; the caller's value is never touched.
    AdvancedSequenceManager::setSequence (slot, sequence, source);
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

    rows = newRows;
    rowHolder.publish (std::move (newRows));
}

#include "PhraseManager.h"

void PhraseManager::setSequence (int slot, const tarn::Sequence& sequence, void* source)
{
    // The base stores and marks its own copy; the caller's value is never touched.
    AdvancedSequenceManager::setSequence (slot, sequence, source);
}

void PhraseManager::setSequence (const tarn::Sequence& sequence, void* source)
{
    setSequence (getNumSequences(), sequence, source);
}

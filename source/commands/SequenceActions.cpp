#include "SequenceActions.h"

#include <source/processor/PhraseManager.h>
#include <tarn/sequence/SequenceSerialisation.h>

UndoableUpdateSequence::UndoableUpdateSequence (PhraseManager& managerToUse, int indexToUse, tarn::Sequence afterToUse, bool flagToUse)
    : index (indexToUse)
    , before (managerToUse.getSequence (indexToUse))
    , after (std::move (afterToUse))
    , manager (managerToUse)
    , flag (flagToUse)
{
}

UndoableUpdateSequence::~UndoableUpdateSequence() = default;

bool UndoableUpdateSequence::perform()
{
    if (tarn::sequencesAreEqual (after, before))
        return false;

    manager.setSequence (index, after, flag ? this : nullptr);
    return true;
}

bool UndoableUpdateSequence::undo()
{
    manager.setSequence (index, before, nullptr);
    return true;
}

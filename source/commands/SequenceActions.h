#pragma once

#include <tarn/sequence/Sequence.h>

#include <juce_data_structures/juce_data_structures.h>

class PhraseManager;

// Built by the editing commands and performed, undone and redone by the phrase manager's
// history, all on the message thread with the state lock held.

/** Replaces one phrase's sequence. An update to the sequence the phrase already has is
    discarded, so it never becomes an undo step. */
class UndoableUpdateSequence : public juce::UndoableAction
{
public:
    /** Takes the phrase's current sequence as the one undo brings back (an empty sequence
        for a slot not stored). `flag` true hands the action to the manager as the change's
        source, so a listener can tell it apart; the commands pass false. [message thread] */
    UndoableUpdateSequence (PhraseManager& manager, int index, tarn::Sequence after, bool flag = false);
    ~UndoableUpdateSequence() override;

    bool perform() override;
    bool undo() override;

private:
    const int index;
    const tarn::Sequence before;
    const tarn::Sequence after;
    PhraseManager& manager;
    const bool flag;

    JUCE_DECLARE_NON_COPYABLE (UndoableUpdateSequence)
};

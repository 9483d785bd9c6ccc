#pragma once

#include "RowListHolder.h"

#include <tarn/sequence/AdvancedSequenceManager.h>

/** The processor's twelve phrase slots and the row list they play through. The undo history
    that every editing command goes through will live here as well. */
class PhraseManager : public tarn::AdvancedSequenceManager
{
public:
    PhraseManager();

    /** Replaces the phrase of a slot with a copy of `sequence`. [message thread] */
    void setSequence (int slot, const tarn::Sequence& sequence, void* source) override;

    /** Appends a phrase after the stored ones. [message thread] */
    void setSequence (const tarn::Sequence& sequence, void* source) override;

    //==============================================================================
    /** The rows as the editor and the commands see them. [message thread] */
    const RowList& getRows() const noexcept { return rows; }

    /** Replaces the whole row list: every row is brought into a playable range, rows past
        the 128th are dropped (a phrase has one loop region per row), and the audio thread
        adopts the new list at its next block. [message thread] */
    void setRows (RowList newRows);

    /** The rows as the audio thread sees them. [audio thread: update() then get()] */
    RowListHolder& getRowHolder() noexcept { return rowHolder; }

    /** The rows of a blank patch: eight Pitch rows, lowest held note first. */
    static RowList makeDefaultRows();

private:
    RowList rows;
    RowListHolder rowHolder;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PhraseManager)
};

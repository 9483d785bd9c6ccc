#pragma once

#include <tarn/sequence/AdvancedSequenceManager.h>

/** The processor's twelve phrase slots. The row list and the undo history that every
    editing command goes through will live here as well. */
class PhraseManager : public tarn::AdvancedSequenceManager
{
public:
    PhraseManager() = default;

    /** Replaces the phrase of a slot with a copy of `sequence`. [message thread] */
    void setSequence (int slot, const tarn::Sequence& sequence, void* source) override;

    /** Appends a phrase after the stored ones. [message thread] */
    void setSequence (const tarn::Sequence& sequence, void* source) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PhraseManager)
};

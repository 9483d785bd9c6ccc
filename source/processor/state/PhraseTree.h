#pragma once

#include <juce_data_structures/juce_data_structures.h>

class PhraseManager;

/** The phrases as the state tree keeps them: "sequences", with the playing slot in
    "current" and one "sequence" child per slot, in slot order. */
namespace PhraseTree
{
inline const juce::Identifier sequencesType { "sequences" };
inline const juce::Identifier currentId { "current" };

/** The node for the manager's phrases. A slot's child is taken over from `previous` when
        it already says the same, so an unchanged phrase keeps its node. [message thread] */
juce::ValueTree write (const PhraseManager& phrases, int currentSlot, const juce::ValueTree& previous);

/** Loads every "sequence" child into its slot (slots without a child keep their phrase)
        and returns the "current" slot, limited to the slots there are, or -1 when the node
        names none. [message thread] */
int read (const juce::ValueTree& node, PhraseManager& phrases);
} // namespace PhraseTree

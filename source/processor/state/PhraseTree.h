#pragma once

#include <tarn/sequence/AdvancedSequenceManager.h>

#include <juce_data_structures/juce_data_structures.h>

#include <array>

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

/** The node's "current", limited to the slots there are, or -1 when it names none. */
int readCurrent (const juce::ValueTree& node, const PhraseManager& phrases);
} // namespace PhraseTree

/** Keeps the state tree's "sequences" node in step with the phrases without serialising every
    phrase at every save: it remembers which node it last wrote or read, and which version of
    each phrase that node's children describe. Hosts save their projects often; most saves
    find no phrase changed, and a host restoring the song it has just saved finds every phrase
    already in place.

    All members: [message thread, or a host thread; under the state lock].
*/
class PhraseTreeSync
{
public:
    /** Brings the "sequences" child of `stateTree` up to date: only phrases replaced since the
        last write or read are serialised, and a child is replaced only when it differs. The
        caller holds the tree lock. */
    void write (juce::ValueTree& stateTree, const PhraseManager& phrases, int currentSlot);

    /** Loads every "sequence" child into its slot (slots without a child keep their phrase),
        skipping the phrases the node already holds unchanged, and returns the "current" slot,
        limited to the slots there are, or -1 when the node names none. */
    int read (const juce::ValueTree& node, PhraseManager& phrases);

private:
    using Versions = std::array<juce::uint32, tarn::AdvancedSequenceManager::numSlots>;

    bool describes (const juce::ValueTree& node, const PhraseManager& phrases, int slot) const;

    juce::ValueTree syncedNode;
    Versions syncedVersions {};
};

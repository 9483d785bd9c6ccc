#include "PhraseTree.h"

#include <source/processor/PhraseManager.h>
#include <tarn/sequence/SequenceSerialisation.h>

namespace PhraseTree
{

int readCurrent (const juce::ValueTree& node, const PhraseManager& phrases)
{
    if (! node.hasProperty (currentId))
        return -1;

    const auto count = std::max (1, phrases.getNumSequences());
    return juce::jlimit (0, count - 1, (int) juce::jlimit (-1.0e6, 1.0e6, (double) node.getProperty (currentId)));
}

juce::ValueTree write (const PhraseManager& phrases, int currentSlot, const juce::ValueTree& previous)
{
    juce::ValueTree node (sequencesType);
    node.setProperty (currentId, currentSlot, nullptr);

    for (int slot = 0; slot < phrases.getNumSequences(); ++slot)
    {
        auto child = tarn::writeSequence (phrases.getSequence (slot));
        const auto old = previous.isValid() ? previous.getChild (slot) : juce::ValueTree();

        node.appendChild (old.isValid() && old.isEquivalentTo (child) ? old.createCopy() : child, nullptr);
    }

    return node;
}

} // namespace PhraseTree

//==============================================================================
bool PhraseTreeSync::describes (const juce::ValueTree& node, const PhraseManager& phrases, int slot) const
{
    return node == syncedNode && node.isValid() && syncedVersions[(size_t) slot] != 0
           && syncedVersions[(size_t) slot] == phrases.getPhraseVersion (slot);
}

void PhraseTreeSync::write (juce::ValueTree& stateTree, const PhraseManager& phrases, int currentSlot)
{
    auto node = stateTree.getChildWithName (PhraseTree::sequencesType);
    const auto count = phrases.getNumSequences();
    auto wellFormed = node.isValid() && node.getNumChildren() == count;

    for (int slot = 0; wellFormed && slot < count; ++slot)
        wellFormed = node.getChild (slot).hasType ("sequence");

    if (! wellFormed)
    {
        const auto rebuilt = PhraseTree::write (phrases, currentSlot, node);

        if (node.isValid())
            node.copyPropertiesAndChildrenFrom (rebuilt, nullptr);
        else
            stateTree.appendChild (node = rebuilt, nullptr);
    }
    else
    {
        node.setProperty (PhraseTree::currentId, currentSlot, nullptr);

        for (int slot = 0; slot < count; ++slot)
        {
            if (describes (node, phrases, slot))
                continue;

            auto child = tarn::writeSequence (phrases.getSequence (slot));

            if (! child.isEquivalentTo (node.getChild (slot)))
            {
                node.removeChild (slot, nullptr);
                node.addChild (child, slot, nullptr);
            }
        }
    }

    syncedNode = node;

    for (int slot = 0; slot < (int) syncedVersions.size(); ++slot)
        syncedVersions[(size_t) slot] = slot < count ? phrases.getPhraseVersion (slot) : 0;
}

int PhraseTreeSync::read (const juce::ValueTree& node, PhraseManager& phrases)
{
    if (! node.isValid())
        return -1;

    Versions versions {};
    int slot = 0;

    for (const auto& child : node)
    {
        if (! child.hasType ("sequence"))
            continue;

        if (slot >= phrases.getPlayer().getNumPlayers())
            break;

        // The same phrase, as the host hands back the song it has just saved: comparing with
        // the node written last (or, failing that, with the phrase written afresh) is far
        // cheaper than reading, comparing and loading it.
        auto unchanged = false;

        if (slot < phrases.getNumSequences())
        {
            if (describes (syncedNode, phrases, slot) && slot < syncedNode.getNumChildren())
                unchanged = syncedNode.getChild (slot).isEquivalentTo (child);
            else
                unchanged = tarn::writeSequence (phrases.getSequence (slot)).isEquivalentTo (child);
        }

        if (! unchanged)
            phrases.setSequence (slot, tarn::readSequence (child), nullptr);

        // A loaded child may say more than the phrase it gave (values out of range): only an
        // unchanged one is known to describe its phrase.
        versions[(size_t) slot] = unchanged ? phrases.getPhraseVersion (slot) : 0;
        ++slot;
    }

    syncedNode = node;
    syncedVersions = versions;
    return PhraseTree::readCurrent (node, phrases);
}

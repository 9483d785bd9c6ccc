#include "PhraseTree.h"

#include <source/processor/PhraseManager.h>
#include <tarn/sequence/SequenceSerialisation.h>

namespace PhraseTree
{

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

int read (const juce::ValueTree& node, PhraseManager& phrases)
{
    if (! node.isValid())
        return -1;

    int slot = 0;

    for (const auto& child : node)
    {
        if (! child.hasType ("sequence"))
            continue;

        if (slot >= phrases.getPlayer().getNumPlayers())
            break;

        phrases.setSequence (slot++, tarn::readSequence (child), nullptr);
    }

    if (! node.hasProperty (currentId))
        return -1;

    const auto count = std::max (1, phrases.getNumSequences());
    return juce::jlimit (0, count - 1, (int) juce::jlimit (-1.0e6, 1.0e6, (double) node.getProperty (currentId)));
}

} // namespace PhraseTree

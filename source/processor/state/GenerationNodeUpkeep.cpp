#include "GenerationNodeUpkeep.h"

#include "GenerationTree.h"

namespace
{
namespace Ids = ControllerGeneration::Ids;

/** The key a child was made for, as a lane: only children that name their channel have one. */
std::optional<ControllerType> keyOf (const juce::ValueTree& child)
{
    if (! child.hasType (Ids::ccGenerator) || ! child.hasProperty (Ids::channel))
        return std::nullopt;

    ControllerType type;
    type.type = (int) child[Ids::type];
    type.channel = (int) child[Ids::channel];
    type.number = (int) child.getProperty (Ids::number, -1);
    return type;
}

void nameKey (juce::ValueTree& child, const ControllerType& type)
{
    child.setProperty (Ids::type, type.type, nullptr);
    child.setProperty (Ids::channel, type.channel, nullptr);
    child.setProperty (Ids::number, type.number, nullptr);
}

bool hasLaneFor (const ControllerTypeList& types, const ControllerType& key)
{
    return std::any_of (types.begin(), types.end(), [&] (const auto& t)
                        { return t.hasSameKeyAs (key); });
}
} // namespace

GenerationNodeUpkeep::GenerationNodeUpkeep()
    : node (Ids::generation)
    , putAsideSettings (Ids::generation)
{
}

void GenerationNodeUpkeep::followEdit (const ControllerTypeList& before, const ControllerTypeList& after, bool restoring)
{
    auto source = node.createCopy();

    // Same number of lanes: a lane was given a new type in place and keeps its settings.
    if (before.size() == after.size())
    {
        for (size_t i = 0; i < after.size(); ++i)
        {
            auto child = source.getChild ((int) i);
            const auto key = keyOf (child);

            if (! before[i].hasSameKeyAs (after[i]) && key && key->hasSameKeyAs (before[i]))
                nameKey (child, after[i]);
        }
    }

    for (const auto& child : source)
        if (const auto key = keyOf (child); key && ! hasLaneFor (after, *key))
            putAside (child);

    if (restoring)
        for (const auto& child : putAsideSettings)
            source.appendChild (child.createCopy(), nullptr);

    rebuild (source, after);
}

void GenerationNodeUpkeep::adopt (const juce::ValueTree& loadedNode, const ControllerTypeList& types)
{
    putAsideSettings.removeAllChildren (nullptr);
    rebuild (loadedNode.isValid() ? loadedNode : node.createCopy(), types);
}

void GenerationNodeUpkeep::rebuild (const juce::ValueTree& source, const ControllerTypeList& types)
{
    const auto rebuilt = ControllerGeneration::rebuildForLanes (source, toLanes (types));

    if (! rebuilt.isEquivalentTo (node))
        node.copyPropertiesAndChildrenFrom (rebuilt, nullptr);
}

void GenerationNodeUpkeep::putAside (const juce::ValueTree& child)
{
    const auto key = keyOf (child);

    // One entry per key: at most one per possible lane.
    for (int i = putAsideSettings.getNumChildren(); --i >= 0;)
        if (const auto other = keyOf (putAsideSettings.getChild (i)); other && other->hasSameKeyAs (*key))
            putAsideSettings.removeChild (i, nullptr);

    putAsideSettings.appendChild (child.createCopy(), nullptr);
}

#include "SettingsTree.h"

namespace SettingsTree
{
namespace
{
    void clampDimension (juce::ValueTree& node, const juce::Identifier& id, int lowest, int highest)
    {
        const auto* value = node.getPropertyPointer (id);

        if (value == nullptr)
            return;

        const auto number = value->isString() ? value->toString().getDoubleValue() : (double) *value;
        const auto isNumber = (value->isInt() || value->isInt64() || value->isDouble() || value->isBool()
                               || (value->isString() && value->toString().trim().containsOnly ("0123456789.-+eE")
                                   && value->toString().trim().isNotEmpty()))
                              && std::isfinite (number);

        if (! isNumber)
        {
            node.removeProperty (id, nullptr);
            return;
        }

        node.setProperty (id, juce::jlimit (lowest, highest, (int) juce::jlimit (-1.0e6, 1.0e6, number)), nullptr);
    }
} // namespace

juce::ValueTree write (const juce::ValueTree& pianoRoll, const juce::ValueTree& editorSettings)
{
    juce::ValueTree settings (settingsType);
    settings.appendChild (pianoRoll.createCopy(), nullptr);
    settings.appendChild (editorSettings.createCopy(), nullptr);
    return settings;
}

void readInto (const juce::ValueTree& loaded, juce::ValueTree& target)
{
    if (! loaded.isValid())
        return;

    target.copyPropertiesFrom (loaded, nullptr);

    bool sameChildren = target.getNumChildren() == loaded.getNumChildren();

    for (int i = 0; sameChildren && i < loaded.getNumChildren(); ++i)
        sameChildren = target.getChild (i).isEquivalentTo (loaded.getChild (i));

    if (sameChildren)
        return;

    target.removeAllChildren (nullptr);

    for (const auto& child : loaded)
        target.appendChild (child.createCopy(), nullptr);
}

juce::ValueTree withUsableWindowSize (const juce::ValueTree& editorSettings)
{
    auto result = editorSettings.createCopy();
    clampDimension (result, windowWidthId, minWindowWidth, maxWindowWidth);
    clampDimension (result, windowHeightId, minWindowHeight, maxWindowHeight);
    return result;
}
} // namespace SettingsTree

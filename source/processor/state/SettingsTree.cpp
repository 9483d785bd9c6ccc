#include "SettingsTree.h"

#include <optional>

namespace SettingsTree
{
namespace
{
    /** The number a stored value holds; none for text that is not a plain number ("abc" would
        read as 0) or for infinities and NaN. */
    std::optional<double> numberIn (const juce::var& value)
    {
        auto number = 0.0;

        if (value.isString())
        {
            const auto text = value.toString().trim();

            if (text.isEmpty() || ! text.containsOnly ("0123456789.-+eE"))
                return std::nullopt;

            number = text.getDoubleValue();
        }
        else if (value.isInt() || value.isInt64() || value.isDouble() || value.isBool())
        {
            number = (double) value;
        }
        else
        {
            return std::nullopt;
        }

        return std::isfinite (number) ? std::optional<double> (number) : std::nullopt;
    }

    void clampDimension (juce::ValueTree& node, const juce::Identifier& id, int lowest, int highest)
    {
        if (! node.hasProperty (id))
            return;

        if (const auto number = numberIn (node[id]))
            node.setProperty (id, juce::jlimit (lowest, highest, (int) juce::jlimit (-1.0e6, 1.0e6, *number)), nullptr);
        else
            node.removeProperty (id, nullptr);
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

#include "Icons.h"

#include <TarnBinary.h>

namespace tarn
{

const juce::StringArray& Icons::getNames()
{
    static const juce::StringArray names {
        "angledown", "angleleft", "angleright", "angleup", "arrowpointer", "check", "cog", "exclamation",
        "expand", "fileexport", "fileimport", "folder", "lock", "lockopen", "minus", "paintbrush",
        "pencil", "piano", "plus", "poweroff", "question", "redo", "save", "sequence",
        "shuffle", "sidebar", "steps", "syncalt", "tablelist", "undo", "uprightsquare", "x"
    };
    return names;
}

std::unique_ptr<juce::Drawable> Icons::create (const juce::String& name, juce::Colour colour)
{
    int size = 0;
    const auto* data = TarnBinary::getNamedResource ((name + "_svg").toRawUTF8(), size);

    if (data == nullptr || ! getNames().contains (name))
        return nullptr;

    // Each icon is drawn in black; recolouring it swaps fills and strokes alike.
    auto drawable = juce::Drawable::createFromImageData (data, (size_t) size);

    if (drawable != nullptr)
        drawable->replaceColour (juce::Colours::black, colour);

    return drawable;
}

} // namespace tarn

#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace cadenzium::test
{
/** The component with this ID anywhere below `root` (depth first), or nullptr. */
inline juce::Component* findById (juce::Component& root, const juce::String& id)
{
    if (root.getComponentID() == id)
        return &root;

    for (auto* child : root.getChildren())
        if (auto* found = findById (*child, id))
            return found;

    return nullptr;
}

/** The first component of type T below `root`, or nullptr. */
template <typename T>
T* findFirst (juce::Component& root)
{
    if (auto* found = dynamic_cast<T*> (&root))
        return found;

    for (auto* child : root.getChildren())
        if (auto* found = findFirst<T> (*child))
            return found;

    return nullptr;
}

/** The tooltip a component (or, for a plain container, nobody) shows. */
inline juce::String tooltipOf (juce::Component& component)
{
    if (auto* client = dynamic_cast<juce::TooltipClient*> (&component))
        return client->getTooltip();
    return {};
}

/** Where the editor tests keep their screenshots: "screenshots" beside the test binary. */
inline juce::File screenshotFolder()
{
    return juce::File::getSpecialLocation (juce::File::currentExecutableFile).getParentDirectory().getChildFile ("screenshots");
}

/** Paints the component as it would show and writes it as a PNG artefact. */
inline juce::File saveScreenshot (juce::Component& component, const juce::String& name, float scale = 1.0f)
{
    const auto folder = screenshotFolder();
    folder.createDirectory();
    const auto file = folder.getChildFile (name + ".png");
    file.deleteFile();

    const auto image = component.createComponentSnapshot (component.getLocalBounds(), true, scale);
    juce::FileOutputStream out (file);
    juce::PNGImageFormat().writeImageToStream (image, out);
    return file;
}
} // namespace cadenzium::test

#pragma once

#include <source/editor/Cadenzium2AudioProcessorEditor.h>
#include <source/editor/widgets/CadenziumRowEditor.h>
#include <tarn/gui/widgets/CommandButton.h>
#include <tests/support/editor/EditorWindow.h>

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace cadenzium::test
{
inline Cadenzium2AudioProcessorEditor& editorOf (EditorWindow& window)
{
    return window.getEditorAs<Cadenzium2AudioProcessorEditor>();
}

/** The first component of this type below `root` (depth first, `root` included) that matches, or nullptr. */
template <typename Type>
Type* findInside (juce::Component& root, const std::function<bool (Type&)>& matches = [] (Type&) { return true; })
{
    if (auto* typed = dynamic_cast<Type*> (&root); typed != nullptr && matches (*typed))
        return typed;

    for (auto* child : root.getChildren())
        if (auto* found = findInside<Type> (*child, matches))
            return found;

    return nullptr;
}

inline juce::Component* findById (juce::Component& root, const juce::String& id)
{
    return findInside<juce::Component> (root, [&] (juce::Component& c) { return c.getComponentID() == id; });
}

inline juce::Component* findResizeCorner (juce::Component& editor)
{
    return findInside<juce::ResizableCornerComponent> (editor);
}

/** The tooltip a component (or, for a plain container, nobody) shows. */
inline juce::String tooltipOf (juce::Component& component)
{
    if (auto* client = dynamic_cast<juce::TooltipClient*> (&component))
        return client->getTooltip();
    return {};
}

/** Every visible component below `parent` lies inside it, no two visible siblings overlap,
    and every text button is wide enough for its text. Returns the problems found, one line
    each. */
inline juce::StringArray findLayoutProblems (juce::Component& parent)
{
    juce::StringArray problems;
    // A viewport's content sits in its holder and may be larger than it (it scrolls).
    // The rows column's rows scroll with the piano roll's grid the same way.
    const auto scrolls = dynamic_cast<juce::Viewport*> (parent.getParentComponent()) != nullptr
                      || dynamic_cast<CadenziumRowEditor*> (&parent) != nullptr;

    // The window's resize corner and a tooltip lie over whatever is under them, by design.
    std::vector<juce::Component*> shown;
    for (auto* child : parent.getChildren())
        if (child->isVisible() && ! child->getBounds().isEmpty() && dynamic_cast<juce::ResizableCornerComponent*> (child) == nullptr
            && child->getComponentID() != "tooltip")
            shown.push_back (child);

    auto nameOf = [] (juce::Component* c)
    { return c->getComponentID().isNotEmpty() ? c->getComponentID() : c->getName().isNotEmpty() ? c->getName() : juce::String (typeid (*c).name()); };

    for (size_t i = 0; i < shown.size(); ++i)
    {
        auto* child = shown[i];
        if (! scrolls && ! parent.getLocalBounds().contains (child->getBounds()))
            problems.add (nameOf (child) + " " + child->getBounds().toString() + " sticks out of " + nameOf (&parent) + " " + parent.getLocalBounds().toString());

        // Layers that cover their whole parent (toasts, dialogs) lie over the rest by design.
        auto isLayer = [&parent] (juce::Component* c)
        { return c->getBounds() == parent.getLocalBounds(); };

        for (size_t j = i + 1; j < shown.size(); ++j)
            if (! isLayer (child) && ! isLayer (shown[j]) && child->getBounds().intersects (shown[j]->getBounds()))
                problems.add (nameOf (child) + " overlaps " + nameOf (shown[j]) + " in " + nameOf (&parent));

        // A text button narrower than its text cuts it off.
        if (auto* button = dynamic_cast<tarn::CommandButton*> (child))
            if (button->getIdealWidth (button->getHeight()) > button->getWidth() + 1)
                problems.add (nameOf (child) + " is too narrow for \"" + button->getButtonText() + "\"");

        problems.addArray (findLayoutProblems (*child));
    }

    return problems;
}
} // namespace cadenzium::test

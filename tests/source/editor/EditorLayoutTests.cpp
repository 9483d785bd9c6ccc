#include <source/editor/Cadenzium2AudioProcessorEditor.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/gui/widgets/CommandButton.h>
#include <tests/source/editor/EditorTestHelpers.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
/** Every visible component below `parent` lies inside it, no two visible siblings overlap,
    and every text button is wide enough for its text. Returns the problems found, one line
    each. */
juce::StringArray findLayoutProblems (juce::Component& parent)
{
    juce::StringArray problems;
    // A viewport's content sits in its holder and may be larger than it (it scrolls).
    // The rows column's rows scroll with the piano roll's grid the same way.
    const auto scrolls = dynamic_cast<juce::Viewport*> (parent.getParentComponent()) != nullptr
                      || dynamic_cast<CadenziumRowEditor*> (&parent) != nullptr;

    // The window's resize corner lies over whatever is in the corner, by design.
    std::vector<juce::Component*> shown;
    for (auto* child : parent.getChildren())
        if (child->isVisible() && ! child->getBounds().isEmpty() && dynamic_cast<juce::ResizableCornerComponent*> (child) == nullptr)
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
} // namespace

TEST (EditorLayout, theDefaultWindowIs1244By935WithThePlaybackSidebarAndEveryPanelOpen)
{
    Cadenzium2AudioProcessor processor;
    Cadenzium2AudioProcessorEditor editor (processor);

    EXPECT_EQ (editor.getWidth(), 1244);
    EXPECT_EQ (editor.getHeight(), 935);
    EXPECT_TRUE (editor.getPlaybackSidebar().isVisible());
    EXPECT_FALSE (editor.getGenerationSidebar().isVisible());
    EXPECT_TRUE (editor.getKeyboard().isVisible());
    EXPECT_EQ (editor.getPlaybackSidebar().getPanelStack().getCollapseStates(), "0000");
    EXPECT_EQ (editor.getGenerationSidebar().getPanelStack().getCollapseStates(), "00000");
}

TEST (EditorLayout, nothingOverlapsOrSticksOutAtTheCornersOfTheResizeLimitsWithEitherSidebar)
{
    Cadenzium2AudioProcessor processor;
    Cadenzium2AudioProcessorEditor editor (processor);

    for (const auto sidebar : { "playback", "generation" })
    {
        editor.setSidebarView (sidebar);

        for (const auto size : { juce::Point<int> (1000, 800), juce::Point<int> (2000, 800),
                                 juce::Point<int> (1000, 1500), juce::Point<int> (2000, 1500) })
        {
            editor.setSize (size.x, size.y);
            const auto problems = findLayoutProblems (editor);
            EXPECT_TRUE (problems.isEmpty()) << sidebar << " at " << size.toString() << ":\n" << problems.joinIntoString ("\n");
        }
    }

    // With the sidebar and keyboard hidden too.
    editor.setSidebarShown (false);
    editor.setKeyboardViewShown (false);
    editor.setSize (1000, 800);
    EXPECT_TRUE (findLayoutProblems (editor).isEmpty()) << findLayoutProblems (editor).joinIntoString ("\n");
}

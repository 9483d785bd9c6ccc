#pragma once

#include <source/editor/widgets/ControllerGenerationController.h>
#include <tarn/gui/panels/VerticalControlPanel.h>

class Cadenzium2AudioProcessor;

/** "Controllers": one ControllerGenerationController per controller lane, kept in step
    with the processor's "generation" node (lanes added, deleted or retyped, a state
    loaded). The node may change on a host's thread while it restores a state, so changes
    are picked up on the message thread, from a copy taken under the state lock.
    [message thread] */
class ControllerGenerationPanel : public tarn::VerticalControlPanel
    , private juce::ValueTree::Listener
    , private juce::AsyncUpdater
{
public:
    explicit ControllerGenerationPanel (Cadenzium2AudioProcessor& processor);
    ~ControllerGenerationPanel() override;

    int getNumControllers() const noexcept { return controllers.size(); }
    ControllerGenerationController& getController (int lane) { return *controllers[lane]; }

    /** Shows the node as it is now; called by itself after every change. */
    void update();

    /** Told after the panel gained or lost lanes, so the stack can lay out again. */
    std::function<void()> onLayoutChanged;

private:
    void valueTreePropertyChanged (juce::ValueTree&, const juce::Identifier&) override { triggerAsyncUpdate(); }
    void valueTreeChildAdded (juce::ValueTree&, juce::ValueTree&) override { triggerAsyncUpdate(); }
    void valueTreeChildRemoved (juce::ValueTree&, juce::ValueTree&, int) override { triggerAsyncUpdate(); }
    void valueTreeChildOrderChanged (juce::ValueTree&, int, int) override { triggerAsyncUpdate(); }
    void handleAsyncUpdate() override { update(); }

    Cadenzium2AudioProcessor& processor;
    juce::ValueTree node;
    juce::OwnedArray<ControllerGenerationController> controllers;
    juce::Label noLanes;
    juce::StringArray shownLanes;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ControllerGenerationPanel)
};

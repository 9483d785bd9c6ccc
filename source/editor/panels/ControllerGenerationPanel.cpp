#include "ControllerGenerationPanel.h"

#include <source/generation/ControllerGeneration.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/gui/Theme.h>

ControllerGenerationPanel::ControllerGenerationPanel (Cadenzium2AudioProcessor& p)
    : tarn::VerticalControlPanel ("Controllers"), processor (p), node (p.getControllerGenerationSettings())
{
    noLanes.setText ("No controller lanes yet", juce::dontSendNotification);
    noLanes.setJustificationType (juce::Justification::centredLeft);
    noLanes.setMinimumHorizontalScale (0.6f);
    {
        // A host restoring a state changes the node under this lock, on its own thread.
        const juce::ScopedLock sl (processor.getPhraseManager().getStateLock());
        node.addListener (this);
    }
    update();
}

ControllerGenerationPanel::~ControllerGenerationPanel()
{
    const juce::ScopedLock sl (processor.getPhraseManager().getStateLock());
    node.removeListener (this);
}

void ControllerGenerationPanel::update()
{
    cancelPendingUpdate();

    juce::ValueTree copy;
    {
        const juce::ScopedLock sl (processor.getPhraseManager().getStateLock());
        copy = node.createCopy();
    }

    // The controllers stay when only values changed, so a slider being dragged is not
    // replaced under the mouse.
    juce::StringArray lanes;
    for (const auto& child : copy)
        lanes.add (child.getProperty (ControllerGeneration::Ids::name).toString() + "/"
                   + child.getProperty (ControllerGeneration::Ids::type).toString());

    if (lanes == shownLanes && ! controllers.isEmpty())
    {
        for (int i = 0; i < controllers.size(); ++i)
            controllers[i]->show (copy.getChild (i));
        return;
    }

    shownLanes = lanes;
    clearRows();
    controllers.clear();

    for (int lane = 0; lane < copy.getNumChildren(); ++lane)
    {
        auto* controller = controllers.add (std::make_unique<ControllerGenerationController> (
            lane, copy.getChild (lane), [this, lane] (const juce::Identifier& property, const juce::var& value)
            { processor.setControllerGenerationSetting (lane, property, value); }));
        addRow ({ controller });
    }

    if (controllers.isEmpty())
    {
        noLanes.setFont (tarn::themeFont (*this, 8.0f));
        noLanes.setColour (juce::Label::textColourId, tarn::themeColour (*this, "text.disabledtext"));
        addRow ({ &noLanes });
    }

    resized();
    if (onLayoutChanged != nullptr)
        onLayoutChanged();
}

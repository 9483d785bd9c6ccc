#pragma once

#include "ControllerGenerationPanel.h"
#include "ModifierGenerationPanel.h"
#include "MutationPanel.h"
#include "NoteGenerationPanel.h"
#include "RegenerationPanel.h"

#include <tarn/gui/panels/PanelStack.h>

class Cadenzium2AudioProcessor;

/** The generation controls: note generation, the modifiers generated notes get, controller
    lanes, regeneration of single aspects and mutation, each a panel that folds away.
    [message thread] */
class GenerationSidebar : public juce::Component
{
public:
    GenerationSidebar (Cadenzium2AudioProcessor& processor,
                       RegenerationPanel::Callback regenerate,
                       std::function<void()> mutate);
    ~GenerationSidebar() override;

    tarn::PanelStack& getPanelStack() noexcept { return stack; }
    ControllerGenerationPanel& getControllerPanel() noexcept { return controllers; }

    void resized() override;

private:
    NoteGenerationPanel notes;
    ModifierGenerationPanel modifiers;
    ControllerGenerationPanel controllers;
    RegenerationPanel regeneration;
    MutationPanel mutation;
    tarn::PanelStack stack;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (GenerationSidebar)
};

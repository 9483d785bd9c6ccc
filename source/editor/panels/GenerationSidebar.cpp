#include "GenerationSidebar.h"

#include <source/processor/Cadenzium2AudioProcessor.h>

GenerationSidebar::GenerationSidebar (Cadenzium2AudioProcessor& processor,
                                      RegenerationPanel::Callback regenerate,
                                      std::function<void()> mutate)
    : notes (processor.getParameterState()),
      modifiers (processor.getParameterState()),
      controllers (processor),
      regeneration (std::move (regenerate)),
      mutation (processor.getParameterState(), std::move (mutate))
{
    setComponentID ("generation_sidebar");

    for (auto* panel : std::initializer_list<tarn::Panel*> { &notes, &modifiers, &controllers, &regeneration, &mutation })
        stack.addPanel (*panel);

    controllers.onLayoutChanged = [this]
    { stack.updateLayout(); };

    addAndMakeVisible (stack);
}

GenerationSidebar::~GenerationSidebar() = default;

void GenerationSidebar::resized()
{
    stack.setBounds (getLocalBounds());
}

#include "PlaybackSidebar.h"

#include <source/processor/Cadenzium2AudioProcessor.h>

PlaybackSidebar::PlaybackSidebar (Cadenzium2AudioProcessor& processor)
    : keyswitches (processor.getParameterState()),
      input (processor.getParameterState()),
      output (processor),
      passthrough (processor.getParameterState())
{
    setComponentID ("playback_sidebar");

    for (auto* panel : std::initializer_list<tarn::Panel*> { &keyswitches, &input, &output, &passthrough })
        stack.addPanel (*panel);

    addAndMakeVisible (stack);
}

PlaybackSidebar::~PlaybackSidebar() = default;

void PlaybackSidebar::refresh()
{
    output.refresh();
}

void PlaybackSidebar::resized()
{
    stack.setBounds (getLocalBounds());
}

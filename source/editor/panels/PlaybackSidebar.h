#pragma once

#include "InputPanel.h"
#include "KeyswitchPanel.h"
#include "OutputPanel.h"
#include "PassthroughPanel.h"

#include <tarn/gui/panels/PanelStack.h>

class Cadenzium2AudioProcessor;

/** The playback controls: keyswitches, input, output modifiers and passthrough, each a
    panel that folds away. [message thread] */
class PlaybackSidebar : public juce::Component
{
public:
    explicit PlaybackSidebar (Cadenzium2AudioProcessor& processor);
    ~PlaybackSidebar() override;

    tarn::PanelStack& getPanelStack() noexcept { return stack; }

    /** Shows what changed in the processor without a parameter (key, swing speed). */
    void refresh();

    void resized() override;

private:
    KeyswitchPanel keyswitches;
    InputPanel input;
    OutputPanel output;
    PassthroughPanel passthrough;
    tarn::PanelStack stack;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PlaybackSidebar)
};

#pragma once

#include "TablePanel.h"

/** "Input": latch, fill, the host's timeline and input retrigger, with a line saying what
    the chosen retrigger does. [message thread] */
class InputPanel : public TablePanel
{
public:
    explicit InputPanel (juce::AudioProcessorValueTreeState& parameters);

    /** What each input retrigger choice ("Off" ... "All Notes Off") does, in choice order. */
    static juce::String describeRetrigger (int choice);

    const juce::Label& getRetriggerDescription() const noexcept { return retriggerDescription; }

private:
    void showRetriggerDescription();

    juce::Label retriggerDescription;
};

#pragma once

#include "TablePanel.h"

#include <tarn/gui/widgets/CommandButton.h>

/** "Mutation": how much a mutation may change, and its own Mutate button. [message thread] */
class MutationPanel : public TablePanel
{
public:
    MutationPanel (juce::AudioProcessorValueTreeState& parameters, std::function<void()> mutate);

    juce::Button& getMutateButton() noexcept { return mutateButton; }

private:
    tarn::CommandButton mutateButton;
};

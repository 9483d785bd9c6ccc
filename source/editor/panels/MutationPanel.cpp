#include "MutationPanel.h"

MutationPanel::MutationPanel (juce::AudioProcessorValueTreeState& params, std::function<void()> mutate)
    : TablePanel ("Mutation", params, ControlTables::mutation()),
      mutateButton (ControlTables::mutationPanelMutate().name)
{
    build();

    const auto& entry = ControlTables::mutationPanelMutate();
    mutateButton.setComponentID (entry.componentId);
    mutateButton.setTooltip (entry.tooltip);
    mutateButton.onClick = std::move (mutate);
    addRow ({ &mutateButton });
}

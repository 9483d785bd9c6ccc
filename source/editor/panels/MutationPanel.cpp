#include "MutationPanel.h"

MutationPanel::MutationPanel (juce::AudioProcessorValueTreeState& params, std::function<void()> mutate)
    : TablePanel ("Mutation", params, ControlTables::mutation()),
      mutateButton (ControlTables::mutationPanelMutate().name)
{
    build();

    const auto& spec = ControlTables::mutationPanelMutate();
    mutateButton.setComponentID (spec.componentId);
    mutateButton.setTooltip (spec.tooltip);
    mutateButton.onClick = std::move (mutate);
    addRow ({ &mutateButton });
}

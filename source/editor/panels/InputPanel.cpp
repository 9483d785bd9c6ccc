#include "InputPanel.h"

#include <source/processor/ParameterIds.h>
#include <tarn/gui/params/Combo.h>
#include <tarn/gui/Theme.h>

InputPanel::InputPanel (juce::AudioProcessorValueTreeState& params)
    : TablePanel ("Input", params, ControlTables::input())
{
    build();

    retriggerDescription.setComponentID ("input_retrigger_description");
    retriggerDescription.setJustificationType (juce::Justification::centredLeft);
    retriggerDescription.setMinimumHorizontalScale (0.7f);
    addRow ({ &retriggerDescription });

    if (auto* combo = dynamic_cast<tarn::params::Combo*> (findControl (ParameterIds::inputRetrigger)))
        combo->getComboBox().onChange = [this]
        { showRetriggerDescription(); };

    showRetriggerDescription();
}

juce::String InputPanel::describeRetrigger (int choice)
{
    switch (choice)
    {
        case 0:
            return "New notes never restart the phrase";
        case 1:
            return "Pressing or releasing a note restarts it";
        case 2:
            return "Pressing a note restarts the phrase";
        case 3:
            return "Releasing a note restarts the phrase";
        case 4:
            return "A note after all keys are up restarts it";
        default:
            return {};
    }
}

void InputPanel::showRetriggerDescription()
{
    int choice = 0;
    if (auto* combo = dynamic_cast<tarn::params::Combo*> (findControl (ParameterIds::inputRetrigger)))
        choice = combo->getComboBox().getSelectedItemIndex();

    retriggerDescription.setText (describeRetrigger (choice), juce::dontSendNotification);
    retriggerDescription.setTooltip (retriggerDescription.getText());
    retriggerDescription.setFont (tarn::themeFont (*this, 8.0f));
    retriggerDescription.setColour (juce::Label::textColourId, tarn::themeColour (*this, "text.disabledtext"));
}

#include "TablePanel.h"

#include <tarn/gui/params/ChoiceButtons.h>
#include <tarn/gui/params/Combo.h>
#include <tarn/gui/params/HorizontalSlider.h>
#include <tarn/gui/params/Knob.h>
#include <tarn/gui/params/RangeSlider.h>
#include <tarn/gui/params/Toggle.h>

std::unique_ptr<juce::Component> createParameterControl (juce::AudioProcessorValueTreeState& parameters, const ControlEntry& entry)
{
    auto* parameter = entry.parameterId != nullptr ? parameters.getParameter (entry.parameterId) : nullptr;
    if (parameter == nullptr)
    {
        jassertfalse; // the table names a parameter that does not exist
        return nullptr;
    }

    switch (entry.kind)
    {
        case ControlKind::toggle:
            return std::make_unique<tarn::params::Toggle> (*parameter, entry.label, entry.tooltip);
        case ControlKind::knob:
            return std::make_unique<tarn::params::Knob> (*parameter, entry.label, entry.tooltip);
        case ControlKind::slider:
            return std::make_unique<tarn::params::HorizontalSlider> (*parameter, entry.label, entry.tooltip);
        case ControlKind::combo:
            return std::make_unique<tarn::params::Combo> (*parameter, entry.label, entry.tooltip);
        case ControlKind::choice:
            return std::make_unique<tarn::params::ChoiceButtons> (*parameter, entry.label, entry.tooltip);
        case ControlKind::range:
            if (auto* high = entry.secondParameterId != nullptr ? parameters.getParameter (entry.secondParameterId) : nullptr)
                return std::make_unique<tarn::params::RangeSlider> (*parameter, *high, entry.label, entry.tooltip);
            jassertfalse;
            return nullptr;
        case ControlKind::setting:
            break;
    }

    return nullptr;
}

TablePanel::TablePanel (const juce::String& captionText, juce::AudioProcessorValueTreeState& parameterTree, const std::vector<ControlEntry>& controlTable)
    : tarn::VerticalControlPanel (captionText), parameters (parameterTree), table (controlTable)
{
}

TablePanel::~TablePanel() = default;

std::unique_ptr<juce::Component> TablePanel::createSettingControl (const ControlEntry&)
{
    return nullptr;
}

void TablePanel::build()
{
    std::vector<juce::Component*> knobs;
    auto flushKnobs = [&]
    {
        if (! knobs.empty())
            addFlow (std::exchange (knobs, {}));
    };

    for (auto& entry : table)
    {
        auto control = entry.kind == ControlKind::setting ? createSettingControl (entry)
                                                         : createParameterControl (parameters, entry);
        if (control == nullptr)
            continue;

        if (control->getComponentID().isEmpty())
            control->setComponentID (entry.componentId);

        if (entry.kind == ControlKind::knob)
        {
            knobs.push_back (control.get());
        }
        else
        {
            flushKnobs();
            addRow ({ control.get() });
        }

        controls.push_back (std::move (control));
    }

    flushKnobs();
}

juce::Component* TablePanel::findControl (const juce::String& componentId) const
{
    for (auto& control : controls)
        if (control->getComponentID() == componentId)
            return control.get();

    return nullptr;
}

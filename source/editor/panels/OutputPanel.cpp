#include "OutputPanel.h"

#include <source/editor/widgets/KeySignatureSelector.h>
#include <source/editor/widgets/SwingSpeedSelector.h>
#include <source/processor/Cadenzium2AudioProcessor.h>

OutputPanel::OutputPanel (Cadenzium2AudioProcessor& p)
    : TablePanel ("Modifiers", p.getParameterState(), ControlTables::modifiers()), processor (p)
{
    build();
}

OutputPanel::~OutputPanel() = default;

std::unique_ptr<juce::Component> OutputPanel::createSettingControl (const ControlSpec& spec)
{
    if (juce::String (spec.componentId) == ControlTables::keySignatureId)
    {
        auto selector = std::make_unique<KeySignatureSelector> (processor, spec.label, spec.tooltip);
        keySignature = selector.get();
        return selector;
    }

    if (juce::String (spec.componentId) == ControlTables::swingSpeedId)
    {
        auto selector = std::make_unique<SwingSpeedSelector> (processor, spec.label, spec.tooltip);
        swingSpeed = selector.get();
        return selector;
    }

    return nullptr;
}

void OutputPanel::refresh()
{
    if (keySignature != nullptr)
        keySignature->refresh();

    if (swingSpeed != nullptr)
        swingSpeed->refresh();
}

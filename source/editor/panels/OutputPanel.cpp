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

std::unique_ptr<juce::Component> OutputPanel::createSettingControl (const ControlEntry& entry)
{
    if (juce::String (entry.componentId) == ControlTables::keySignatureId)
    {
        auto selector = std::make_unique<KeySignatureSelector> (processor, entry.label, entry.tooltip);
        keySignature = selector.get();
        return selector;
    }

    if (juce::String (entry.componentId) == ControlTables::swingSpeedId)
    {
        auto selector = std::make_unique<SwingSpeedSelector> (processor, entry.label, entry.tooltip);
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

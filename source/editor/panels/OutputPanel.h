#pragma once

#include "TablePanel.h"

class Cadenzium2AudioProcessor;
class KeySignatureSelector;
class SwingSpeedSelector;

/** "Modifiers": key lock with its key signature, swing with its speed, velocity randomiser
    and scaler, and the output note range. [message thread] */
class OutputPanel : public TablePanel
{
public:
    explicit OutputPanel (Cadenzium2AudioProcessor& processor);
    ~OutputPanel() override;

    /** Shows the key and swing speed the processor has now (they are not parameters, so a
        preset or the host can change them without telling anyone). */
    void refresh();

private:
    std::unique_ptr<juce::Component> createSettingControl (const ControlEntry& entry) override;

    Cadenzium2AudioProcessor& processor;
    KeySignatureSelector* keySignature = nullptr;
    SwingSpeedSelector* swingSpeed = nullptr;
};

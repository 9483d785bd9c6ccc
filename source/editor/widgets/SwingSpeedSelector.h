#pragma once

#include <tarn/gui/panels/ControlLayout.h>

#include <juce_gui_basics/juce_gui_basics.h>

class Cadenzium2AudioProcessor;

/** Which notes swing moves: the off-beat eighths (the default), sixteenths ("1/16") or
    thirty-seconds ("1/32"). It sets the processor's swing grid, a quarter, an eighth or a
    sixteenth note long. [message thread] */
class SwingSpeedSelector : public juce::Component
    , public juce::SettableTooltipClient
    , public tarn::ControlLayout
{
public:
    SwingSpeedSelector (Cadenzium2AudioProcessor& processor, const juce::String& label, const juce::String& tooltip);

    /** Shows the processor's grid, when it changed elsewhere (a preset, the host). */
    void refresh();

    juce::ComboBox& getComboBox() noexcept { return box; }

    /** The processor's grid choice for a menu item id, and back. */
    static int gridChoiceForItem (int itemId) noexcept;
    static int itemForGridChoice (int choice) noexcept;

    int getPreferredHeight() const override;
    int getNaturalLabelWidth() const override;

    void paint (juce::Graphics& g) override;
    void resized() override;

private:

    Cadenzium2AudioProcessor& processor;
    juce::String label;
    juce::ComboBox box;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SwingSpeedSelector)
};

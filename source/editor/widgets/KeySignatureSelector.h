#pragma once

#include <source/processor/KeySignature.h>
#include <tarn/gui/panels/ControlLayout.h>

#include <juce_gui_basics/juce_gui_basics.h>

class Cadenzium2AudioProcessor;

/** The key the output key lock follows: a root note menu and a scale menu. A key that no
    scale of the menu matches (a v1 preset's own key) shows "Invalid scale name" until the
    user picks one. [message thread] */
class KeySignatureSelector : public juce::Component
    , public juce::SettableTooltipClient
    , public tarn::ControlLayout
{
public:
    KeySignatureSelector (Cadenzium2AudioProcessor& processor, const juce::String& label, const juce::String& tooltip);

    /** Shows the processor's key, when it changed elsewhere (a preset, the host). */
    void refresh();

    juce::ComboBox& getRootBox() noexcept { return rootBox; }
    juce::ComboBox& getScaleBox() noexcept { return scaleBox; }

    /** "C", "C#" ... "B". */
    static juce::String rootName (int root);

    int getPreferredHeight() const override;
    int getNaturalLabelWidth() const override;

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    void userPicked();

    Cadenzium2AudioProcessor& processor;
    juce::String label;
    juce::ComboBox rootBox, scaleBox;
    std::optional<KeySignature> shown;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (KeySignatureSelector)
};

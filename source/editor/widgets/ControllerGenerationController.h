#pragma once

#include <tarn/gui/panels/ControlLayout.h>
#include <tarn/gui/widgets/ThemedSlider.h>
#include <tarn/gui/widgets/ThemedToggle.h>

#include <juce_data_structures/juce_data_structures.h>

#include <functional>

/** The generation settings of one controller lane: its name with an enable switch, the part
    of the lane's value range to draw from, and how densely points are drawn. Each change is
    written through `write` (property, value) into the lane's "cc_generator" node.
    [message thread] */
class ControllerGenerationController : public juce::Component
    , public tarn::ControlLayout
{
public:
    using Writer = std::function<void (const juce::Identifier& property, const juce::var& value)>;

    ControllerGenerationController (int lane, const juce::ValueTree& settings, Writer write);

    /** Shows these settings (name, type and values) without writing anything back. */
    void show (const juce::ValueTree& settings);

    juce::Button& getEnableButton() noexcept { return enable; }
    juce::Slider& getRangeSlider() noexcept { return range; }
    juce::Slider& getDensitySlider() noexcept { return density; }

    /** "0 - 127" in the lane's own values, "-8192 - 8191" for pitch bend. */
    juce::String getRangeText() const;
    juce::String getDensityText() const;

    int getPreferredHeight() const override;

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    juce::Rectangle<int> getNameArea() const;
    void paintValue (juce::Graphics& g, const juce::String& caption, const juce::String& value, int top);

    Writer write;
    juce::String name;
    int laneType = 0;
    bool showing = false;

    tarn::ThemedToggle enable { {} };
    tarn::ThemedSlider range { juce::Slider::TwoValueHorizontal };
    tarn::ThemedSlider density { juce::Slider::LinearHorizontal };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ControllerGenerationController)
};

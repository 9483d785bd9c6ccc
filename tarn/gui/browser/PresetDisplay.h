#pragma once

#include <tarn/presets/PresetInfo.h>

#include <juce_gui_basics/juce_gui_basics.h>

#include <optional>

namespace tarn
{

/** The preset browser's detail area: the selected preset's name, whether it is a factory
    or a user preset, its author, "Categories" and description. [message thread] */
class PresetDisplay : public juce::Component
{
public:
    PresetDisplay();
    ~PresetDisplay() override;

    void setPreset (std::optional<PresetInfo> preset);
    const std::optional<PresetInfo>& getPreset() const noexcept { return preset; }

    void paint (juce::Graphics& g) override;

private:
    std::optional<PresetInfo> preset;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetDisplay)
};

} // namespace tarn

#pragma once

#include <tarn/gui/widgets/IconButton.h>
#include <tarn/gui/widgets/PresetNameBox.h>
#include <tarn/presets/PresetManager.h>

namespace tarn
{

/** The bar across the top of the editor, left to right: the product's name, the preset
    name box (a menu of the library's presets), the preset browser toggle, previous, next,
    save, then the user manual, the settings and the power switch.

    The power switch is attached to a parameter that is 1 while the plug-in processes
    (off bypasses it). The name box follows the library's current preset, with a trailing
    "*" while the state differs from it. What browser, save, manual and settings do is up
    to the owner (the callbacks). [message thread] */
class TopBar : public juce::Component
    , private PresetManager::Listener
    , private juce::Timer
{
public:
    TopBar (PresetManager& presets, juce::RangedAudioParameter* powerParameter, const juce::String& productName);
    ~TopBar() override;

    std::function<void (bool shown)> onBrowserToggled;
    std::function<void()> onSave, onManual, onSettings;

    /** Shows whether the browser is open, without calling onBrowserToggled. */
    void setBrowserShown (bool shown);

    /** The name the box shows now: "Rising Eighths", "Rising Eighths*" once changed. */
    juce::String getShownPresetName() const { return nameBox.getButtonText(); }

    static constexpr int modifiedCheckHz = 5;

    /** The menu the name box opens: the library as it is now, the current preset ticked. */
    juce::PopupMenu createPresetMenu() const;

    /** Loads the preset of a menu item (what choosing it does). */
    void presetMenuItemChosen (int itemId);

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    void paintWordmark (juce::Graphics& g) const;
    void currentPresetChanged (const PresetInfo& current) override;
    void timerCallback() override;
    void showPresetMenu();

    PresetManager& presets;
    const juce::String productName;
    juce::String presetName;
    PresetNameBox nameBox;
    IconButton browserButton { "tablelist", "preset_browser", "Open the preset browser" };
    IconButton previousButton { "angleleft", "preset_previous", "Previous preset" };
    IconButton nextButton { "angleright", "preset_next", "Next preset" };
    IconButton saveButton { "save", "preset_save", "Save the current state as a preset" };
    IconButton manualButton { "question", "manual", "Open the user manual" };
    IconButton settingsButton { "cog", "settings", "Open the plugin settings" };
    IconButton powerButton { "poweroff", "bypass", "Bypass the processing" };
    std::unique_ptr<juce::ButtonParameterAttachment> powerAttachment;
    juce::Rectangle<int> productNameArea;

    JUCE_DECLARE_WEAK_REFERENCEABLE (TopBar)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TopBar)
};

} // namespace tarn

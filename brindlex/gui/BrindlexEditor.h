#pragma once

#include "ManualOpener.h"
#include "SavePresetModal.h"
#include "SettingsModal.h"

#include <brindlex/BrindlexProcessor.h>
#include <tarn/gui/browser/PresetBrowser.h>
#include <tarn/gui/editor/AudioProcessorEditor.h>
#include <tarn/gui/panels/TopBar.h>

namespace brindlex
{

/** The maker's editor: the top bar with preset navigation, the save and settings dialogs,
    the user manual and the preset browser, over the product's main area.

    The browser covers the main area while the top bar's toggle is on, above the product's
    own components and below the dialogs and toasts.

    It applies the settings file: "scale" at once and whenever the file changes (from the
    settings dialog or another plug-in instance); a product reacts to its own keys in
    settingsChanged(). [message thread] */
class BrindlexEditor : public tarn::AudioProcessorEditor
{
public:
    struct Options
    {
        juce::String version; // "2.5.0"
        juce::String powerParameterId; // the parameter that is 1 while the plug-in processes
        juce::String websiteBase { "https://brindlex.invalid/plugins/" };
    };

    BrindlexEditor (BrindlexProcessor& processor, Options options);
    ~BrindlexEditor() override;

    tarn::TopBar& getTopBar() noexcept { return topBar; }
    tarn::PresetBrowser& getPresetBrowser() noexcept { return presetBrowser; }
    SavePresetModal& getSaveDialog() noexcept { return saveDialog; }
    SettingsModal& getSettingsDialog() noexcept { return settingsDialog; }
    ManualOpener& getManualOpener() noexcept { return manualOpener; }

    void showSaveDialog();
    void showSettingsDialog();
    void openManual();

    /** Whether the preset browser is shown (the top bar's toggle). */
    bool isBrowserShown() const noexcept { return browserShown; }
    void setBrowserShown (bool shown);

    /** Reads the settings file again and applies it. */
    void applySettings();

    void paint (juce::Graphics& g) override;

protected:
    /** The area below the top bar. */
    virtual void layoutMainArea (juce::Rectangle<int> area) { juce::ignoreUnused (area); }

    /** The preset browser was shown or hidden. */
    virtual void browserToggled (bool shown) { juce::ignoreUnused (shown); }

    /** The settings file changed, or was applied at construction. */
    virtual void settingsChanged (BrindlexSettings& settings) { juce::ignoreUnused (settings); }

    BrindlexProcessor& getBrindlexProcessor() noexcept { return brindlexProcessor; }

private:
    void layoutContent (juce::Rectangle<int> area) final;
    void showBrowser (bool shown);

    BrindlexProcessor& brindlexProcessor;
    tarn::TopBar topBar;
    tarn::PresetBrowser presetBrowser;
    SavePresetModal saveDialog;
    SettingsModal settingsDialog;
    ManualOpener manualOpener;
    bool browserShown = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BrindlexEditor)
};

} // namespace brindlex

#include "BrindlexEditor.h"

#include "../UserFolders.h"

#include <tarn/gui/Theme.h>

namespace brindlex
{

BrindlexEditor::BrindlexEditor (BrindlexProcessor& processorToEdit, Options options)
    : tarn::AudioProcessorEditor (processorToEdit, processorToEdit.getToastManager()),
      brindlexProcessor (processorToEdit),
      topBar (processorToEdit.getPresetManager(),
              processorToEdit.getParameterState().getParameter (options.powerParameterId),
              processorToEdit.getProductName()),
      saveDialog (processorToEdit.getPresetManager(), processorToEdit.getSettings(), processorToEdit.getToastManager()),
      settingsDialog (processorToEdit.getSettings(), processorToEdit.getLogger().getLogFile(), options.version),
      manualOpener (processorToEdit.getToastManager(), processorToEdit.getUserFolder(), processorToEdit.getProductName(),
                    options.version, options.websiteBase)
{
    addAndMakeVisible (topBar);
    addOverlay (saveDialog);
    addOverlay (settingsDialog);

    topBar.onBrowserToggled = [this] (bool shown)
    {
        browserShown = shown;
        browserToggled (shown);
    };
    topBar.onSave = [this]
    { showSaveDialog(); };
    topBar.onSettings = [this]
    { showSettingsDialog(); };
    topBar.onManual = [this]
    { openManual(); };

    settingsDialog.onSettingsChanged = [this]
    { applySettings(); };

    processorToEdit.getPresetManager().setOverwriteQuestion (
        [safeDialog = juce::Component::SafePointer<SavePresetModal> (&saveDialog)] (const juce::String& title, const juce::String& message,
                                                                                   std::function<void (bool)> answer)
        {
            if (safeDialog != nullptr)
                safeDialog->askOverwrite (title, message, std::move (answer));
            else
                answer (false);
        });

    setUserScale (processorToEdit.getSettings().getDouble ("scale", 1.0));
}

BrindlexEditor::~BrindlexEditor()
{
    brindlexProcessor.getPresetManager().setOverwriteQuestion ({});
}

void BrindlexEditor::showSaveDialog()
{
    settingsDialog.close();
    saveDialog.show();
}

void BrindlexEditor::showSettingsDialog()
{
    saveDialog.close();
    settingsDialog.show();
}

void BrindlexEditor::openManual()
{
    manualOpener.open();
}

void BrindlexEditor::setBrowserShown (bool shown)
{
    if (shown == browserShown)
        return;

    browserShown = shown;
    topBar.setBrowserShown (shown);
    browserToggled (shown);
}

void BrindlexEditor::applySettings()
{
    auto& settings = brindlexProcessor.getSettings();
    setUserScale (settings.getDouble ("scale", 1.0));
    settingsChanged (settings);
}

void BrindlexEditor::paint (juce::Graphics& g)
{
    g.fillAll (tarn::themeColour (*this, "background.background"));
}

void BrindlexEditor::layoutContent (juce::Rectangle<int> area)
{
    topBar.setBounds (area.removeFromTop ((int) tarn::themeMetric (*this, "topBarHeight", 50.0f)));
    layoutMainArea (area);
}

} // namespace brindlex

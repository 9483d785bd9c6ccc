#include "BrindlexEditor.h"

#include "../UserFolders.h"

#include <tarn/gui/Theme.h>

namespace brindlex
{
namespace
{
    tarn::PopupKind presetBrowserKind { "preset browser" };
} // namespace


BrindlexEditor::BrindlexEditor (BrindlexProcessor& processorToEdit, Options options)
    : tarn::AudioProcessorEditor (processorToEdit, processorToEdit.getToastManager()),
      brindlexProcessor (processorToEdit),
      topBar (processorToEdit.getPresetManager(),
              processorToEdit.getParameterState().getParameter (options.powerParameterId),
              processorToEdit.getProductName()),
      presetBrowser (processorToEdit.getPresetManager()),
      saveDialog (processorToEdit.getPresetManager(), processorToEdit.getSettings(), processorToEdit.getToastManager()),
      settingsDialog (processorToEdit.getSettings(), processorToEdit.getLogger().getLogFile(), options.version),
      manualOpener (processorToEdit.getToastManager(), processorToEdit.getUserFolder(), processorToEdit.getProductName(),
                    options.version, options.websiteBase)
{
    addAndMakeVisible (topBar);
    addChildComponent (presetBrowser);
    addOverlay (saveDialog);
    addOverlay (settingsDialog);

    topBar.onBrowserToggled = [this] (bool shown)
    { showBrowser (shown); };
    presetBrowser.onCloseRequested = [this]
    { setBrowserShown (false); };
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

    topBar.setBrowserShown (shown);
    showBrowser (shown);
}

void BrindlexEditor::showBrowser (bool shown)
{
    browserShown = shown;
    presetBrowser.setVisible (shown);

    if (shown)
    {
        presetBrowserKind.shown();

        // Above whatever the product added to the main area since; dialogs stay above it.
        presetBrowser.toFront (false);
        raiseOverlays();
    }

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
    presetBrowser.setBounds (area);
    layoutMainArea (area);

    if (browserShown)
        presetBrowser.toFront (false);
}

} // namespace brindlex

#include "Cadenzium2AudioProcessorEditor.h"

#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/gui/ThemeSelector.h>

Cadenzium2AudioProcessorEditor::Cadenzium2AudioProcessorEditor (Cadenzium2AudioProcessor& p)
    : brindlex::BrindlexEditor (p, { Cadenzium2AudioProcessor::versionString, ParameterIds::enable }),
      cadenziumProcessor (p)
{
    settingsChanged (p.getSettings());
    getSettingsDialog().addSetting ("GUI Theme", themeSettingKey, { "Classic", "Dark", "Light" }, "Dark");

    // A size from a song or preset is kept within the limits (a broken one opens at the default).
    const auto view = SettingsTree::withUsableWindowSize (p.getEditorSettings());
    setResizable (true, true);
    setResizeLimits (SettingsTree::minWindowWidth, SettingsTree::minWindowHeight,
                     SettingsTree::maxWindowWidth, SettingsTree::maxWindowHeight);
    setSize (view.getProperty (SettingsTree::windowWidthId, defaultWidth),
             view.getProperty (SettingsTree::windowHeightId, defaultHeight));
    restoringSize = false;
}

Cadenzium2AudioProcessorEditor::~Cadenzium2AudioProcessorEditor() = default;

int Cadenzium2AudioProcessorEditor::colourSchemeFor (const juce::String& themeName)
{
    if (themeName == "Classic")
        return 3;

    if (themeName == "Light")
        return 5;

    return 4;
}

void Cadenzium2AudioProcessorEditor::settingsChanged (brindlex::BrindlexSettings& settings)
{
    tarn::ThemeSelector::getInstance()->setColourSchemeNumber (colourSchemeFor (settings.getString (themeSettingKey, "Dark")));
}

void Cadenzium2AudioProcessorEditor::windowSizeChanged (int width, int height)
{
    // Opening the window is not a change to the song.
    if (restoringSize)
        return;

    cadenziumProcessor.setEditorSetting (SettingsTree::windowWidthId, width);
    cadenziumProcessor.setEditorSetting (SettingsTree::windowHeightId, height);
}

void Cadenzium2AudioProcessorEditor::layoutMainArea (juce::Rectangle<int> area)
{
    juce::ignoreUnused (area);
}

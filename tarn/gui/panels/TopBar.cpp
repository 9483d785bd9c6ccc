#include "TopBar.h"

#include <tarn/gui/Theme.h>
#include <tarn/gui/overlays/PopupMenus.h>
#include <tarn/gui/widgets/PresetMenu.h>

namespace tarn
{
namespace
{
    PopupKind presetMenuKind { "preset menu" };
} // namespace


TopBar::TopBar (PresetManager& presetManager, juce::RangedAudioParameter* powerParameter, const juce::String& name)
    : presets (presetManager),
      productName (name)
{
    setComponentID ("top_bar");

    nameBox.onClick = [this]
    { showPresetMenu(); };

    browserButton.setClickingTogglesState (true);
    browserButton.onClick = [this]
    {
        if (onBrowserToggled != nullptr)
            onBrowserToggled (browserButton.getToggleState());
    };

    previousButton.onClick = [this]
    { presets.loadPreviousPreset(); };
    nextButton.onClick = [this]
    { presets.loadNextPreset(); };
    saveButton.onClick = [this]
    {
        if (onSave != nullptr)
            onSave();
    };
    manualButton.onClick = [this]
    {
        if (onManual != nullptr)
            onManual();
    };
    settingsButton.onClick = [this]
    {
        if (onSettings != nullptr)
            onSettings();
    };

    for (auto* control : std::initializer_list<juce::Component*> { &nameBox, &browserButton, &previousButton, &nextButton,
                                                                   &saveButton, &manualButton, &settingsButton, &powerButton })
        addAndMakeVisible (control);

    if (powerParameter != nullptr)
    {
        powerButton.setClickingTogglesState (true);
        powerAttachment = std::make_unique<juce::ButtonParameterAttachment> (*powerParameter, powerButton);
        powerAttachment->sendInitialUpdate();
    }
    else
    {
        powerButton.setEnabled (false);
    }

    presets.addListener (this);
    currentPresetChanged (presets.getCurrentPreset());

    // Whether the state still is the preset is worked out only after something changed.
    startTimerHz (modifiedCheckHz);
}

TopBar::~TopBar()
{
    stopTimer();
    presets.removeListener (this);
}

void TopBar::setBrowserShown (bool shown)
{
    browserButton.setToggleState (shown, juce::dontSendNotification);
}

void TopBar::currentPresetChanged (const PresetInfo& current)
{
    // A preset just loaded or saved is what the state holds.
    presetName = current.name.isNotEmpty() ? current.name : juce::String (PresetInfo::initialPatchName);
    nameBox.setButtonText (presetName);
}

void TopBar::timerCallback()
{
    const auto shown = presets.isCurrentPresetModified() ? presetName + "*" : presetName;

    if (shown != nameBox.getButtonText())
        nameBox.setButtonText (shown);
}

juce::PopupMenu TopBar::createPresetMenu() const
{
    return PresetMenu::create (presets.getIndexTree(), presets.getCurrentPreset().index);
}

void TopBar::presetMenuItemChosen (int itemId)
{
    if (const auto index = PresetMenu::toPresetIndex (itemId); index >= 0)
        presets.loadPreset (index);
}

void TopBar::showPresetMenu()
{
    const juce::WeakReference<TopBar> safeThis (this);
    showMenu (presetMenuKind, nameBox, createPresetMenu(),
              juce::PopupMenu::Options().withTargetComponent (&nameBox).withMinimumWidth (nameBox.getWidth()).withMaximumNumColumns (1),
              [safeThis] (int itemId)
              {
                  if (safeThis != nullptr)
                      safeThis->presetMenuItemChosen (itemId);
              });
}

void TopBar::paint (juce::Graphics& g)
{
    g.fillAll (themeColour (*this, "background.panel"));

    g.setColour (themeColour (*this, "elements.elementborder"));
    g.fillRect (getLocalBounds().removeFromBottom (1));

    g.setColour (themeColour (*this, getTheme (*this).hasThemeColour ("text.pluginName") ? "text.pluginName" : "text.text"));
    g.setFont (themeFont (*this, 12.0f));
    g.drawText (productName, productNameArea, juce::Justification::centredLeft, true);
}

void TopBar::resized()
{
    const auto& metrics = themeLibraryMetrics (*this);
    const auto gap = (int) themeMetric (*this, "topBarSeparator", 11.0f);
    const auto buttonWidth = metrics.topBarButtonWidth;
    const auto buttonHeight = metrics.topBarButtonHeight;
    auto area = getLocalBounds().reduced (metrics.panelPadding, 0);

    auto place = [&] (juce::Component& c, juce::Rectangle<int> slot)
    {
        c.setBounds (slot.withSizeKeepingCentre (slot.getWidth(), buttonHeight));
    };

    for (auto* button : { &browserButton, &previousButton, &nextButton, &saveButton, &manualButton, &settingsButton, &powerButton })
        button->setIconPadding ((float) metrics.topBarIconPadding);

    // Right to left: power, settings, manual.
    place (powerButton, area.removeFromRight (buttonWidth));
    area.removeFromRight (gap);
    place (settingsButton, area.removeFromRight (buttonWidth));
    place (manualButton, area.removeFromRight (buttonWidth));

    productNameArea = area.removeFromLeft (juce::jmin (200, area.getWidth() / 5));
    area.removeFromLeft (gap);

    const auto presetControls = buttonWidth * 4 + gap;
    const auto nameWidth = juce::jlimit (120, 360, area.getWidth() - presetControls - gap);
    auto centre = area.withSizeKeepingCentre (juce::jmin (area.getWidth(), nameWidth + presetControls), area.getHeight());

    place (nameBox, centre.removeFromLeft (nameWidth));
    centre.removeFromLeft (gap);
    place (browserButton, centre.removeFromLeft (buttonWidth));
    place (previousButton, centre.removeFromLeft (buttonWidth));
    place (nextButton, centre.removeFromLeft (buttonWidth));
    place (saveButton, centre.removeFromLeft (buttonWidth));
}

} // namespace tarn

#include "TopBar.h"

#include <tarn/gui/Fonts.h>
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

    paintWordmark (g);
}

void TopBar::paintWordmark (juce::Graphics& g) const
{
    // The product's mark: a rising figure of three steps in the accent (a phrase climbing a
    // chord), the name in capitals with open tracking, a trailing version number in the accent.
    auto area = productNameArea.toFloat();
    const auto accent = themeColour (*this, "theme.primary");
    const auto nameColour = themeColour (*this, getTheme (*this).hasThemeColour ("text.pluginName") ? "text.pluginName" : "text.text");

    const auto markHeight = std::min (area.getHeight() * 0.5f, 22.0f);
    auto mark = area.removeFromLeft (markHeight).withSizeKeepingCentre (markHeight, markHeight);
    const auto step = markHeight / 3.0f;
    g.setColour (accent);
    for (int i = 0; i < 3; ++i)
        g.fillRoundedRectangle (mark.getX() + (float) i * step, mark.getBottom() - step * (float) (i + 1), step * 0.8f, step * 0.8f, step * 0.2f);
    area.removeFromLeft (markHeight * 0.45f);

    auto words = juce::StringArray::fromTokens (productName, " ", {});
    const auto version = words.size() > 1 && words[words.size() - 1].containsOnly ("0123456789") ? words[words.size() - 1] : juce::String();
    if (version.isNotEmpty())
        words.remove (words.size() - 1);

    // As large as the mark, smaller when the name and number would not fit.
    const auto name = words.joinIntoString (" ").toUpperCase();
    auto font = Fonts::make ("Urbanist", "Medium", markHeight * 0.95f, 0.12f);
    const auto versionGap = markHeight * 0.3f;
    const auto needed = font.getStringWidthFloat (name + version) + (version.isEmpty() ? 0.0f : versionGap);
    if (needed > area.getWidth())
        font = Fonts::make ("Urbanist", "Medium", markHeight * 0.95f * area.getWidth() / needed, 0.12f);
    g.setFont (font);
    g.setColour (nameColour);
    g.drawText (name, area, juce::Justification::centredLeft, true);

    if (version.isNotEmpty())
    {
        area.removeFromLeft (font.getStringWidthFloat (name) + versionGap);
        g.setColour (accent);
        g.setFont (Fonts::make ("Urbanist", "Medium", font.getHeight(), 0.0f));
        g.drawText (version, area, juce::Justification::centredLeft, true);
    }
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

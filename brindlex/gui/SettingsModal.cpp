#include "SettingsModal.h"

#include <tarn/gui/Theme.h>

namespace brindlex
{
namespace
{
    tarn::PopupKind settingsDialogKind { "settings dialog" };
    // Each dialog has its own grid; the names must not meet the other dialog's in a unity batch.
    namespace settingsLayout
    {
        constexpr int rowHeight = 30, rowGap = 10, labelWidth = 130;
    }
    const juce::StringArray themeChoices { "Default", "Light" };

    void selectText (juce::ComboBox& box, const juce::String& text)
    {
        for (int i = 0; i < box.getNumItems(); ++i)
        {
            if (box.getItemText (i) == text)
            {
                box.setSelectedItemIndex (i, juce::dontSendNotification);
                return;
            }
        }

        box.setSelectedId (0, juce::dontSendNotification);
    }
} // namespace

double SettingsModal::scaleForItem (int itemId) noexcept
{
    for (const auto& choice : scaleChoices)
        if (choice.itemId == itemId)
            return choice.scale;

    return 1.0;
}

int SettingsModal::itemForScale (double scale) noexcept
{
    for (const auto& choice : scaleChoices)
        if (scale == choice.scale)
            return choice.itemId;

    return 0;
}

SettingsModal::SettingsModal (BrindlexSettings& settingsFile, juce::File log, const juce::String& version)
    : tarn::ModalWindow (settingsDialogKind, "Settings"),
      settings (settingsFile),
      logFile (std::move (log)),
      versionText ("v" + version),
      fileListener (settingsFile.getFile()),
      revealer (std::make_unique<tarn::LocationRevealer>())
{
    setComponentID ("settings_dialog");

    versionLabel.setComponentID ("settings_version");
    versionLabel.setText (versionText, juce::dontSendNotification);
    versionLabel.setJustificationType (juce::Justification::centredRight);
    addAndMakeVisible (versionLabel);

    makeLabel (scaleLabel, "GUI Scale");
    scaleBox.setComponentID ("settings_scale");
    for (const auto& choice : scaleChoices)
        scaleBox.addItem (choice.text, choice.itemId);
    scaleBox.onChange = [this]
    { scaleChosen(); };
    addAndMakeVisible (scaleBox);

    makeLabel (themeLabel, "Theme");
    themeBox.setComponentID ("settings_theme");
    themeBox.addItemList (themeChoices, 1);
    themeBox.onChange = [this]
    { themeChosen(); };
    addAndMakeVisible (themeBox);

    showLogButton.setComponentID ("show_log_file");
    showLogButton.onClick = [this]
    { revealer->reveal (logFile); };
    addAndMakeVisible (showLogButton);

    fileListener.addChangeListener (this);
    updatePanelSize();
}

SettingsModal::~SettingsModal()
{
    fileListener.removeChangeListener (this);
}

juce::Label& SettingsModal::makeLabel (juce::Label& label, const juce::String& text)
{
    label.setText (text, juce::dontSendNotification);
    label.setJustificationType (juce::Justification::centredLeft);
    addAndMakeVisible (label);
    return label;
}

void SettingsModal::addSetting (const juce::String& labelText, const juce::String& key, const juce::StringArray& choices,
                                const juce::String& defaultChoice)
{
    auto setting = std::make_unique<AddedSetting>();
    setting->key = key;
    setting->choices = choices;
    setting->defaultChoice = defaultChoice;
    setting->label = std::make_unique<juce::Label>();
    makeLabel (*setting->label, labelText);
    setting->box = std::make_unique<juce::ComboBox>();
    setting->box->setComponentID ("settings_" + key);
    setting->box->addItemList (choices, 1);
    setting->box->onChange = [this, raw = setting.get()]
    { addedSettingChosen (*raw); };
    addAndMakeVisible (*setting->box);

    selectText (*setting->box, settings.getString (key, defaultChoice));
    addedSettings.push_back (std::move (setting));
    updatePanelSize();
}

void SettingsModal::setMakerThemeShown (bool shouldShow)
{
    themeLabel.setVisible (shouldShow);
    themeBox.setVisible (shouldShow);
    updatePanelSize();
}

void SettingsModal::setOpenerProgram (const juce::String& program)
{
    revealer = std::make_unique<tarn::LocationRevealer> (program);
}

void SettingsModal::showing()
{
    settings.reload();
    reselect();
}

void SettingsModal::reselect()
{
    scaleBox.setSelectedId (itemForScale (settings.getDouble ("scale", 1.0)), juce::dontSendNotification);
    selectText (themeBox, settings.getString ("theme", "Default"));

    for (auto& setting : addedSettings)
        selectText (*setting->box, settings.getString (setting->key, setting->defaultChoice));
}

void SettingsModal::scaleChosen()
{
    settings.setValue ("scale", scaleForItem (scaleBox.getSelectedId()));
    saveAndAnnounce();
}

void SettingsModal::themeChosen()
{
    settings.setValue ("theme", themeBox.getText());
    saveAndAnnounce();
    close();
}

void SettingsModal::addedSettingChosen (AddedSetting& setting)
{
    settings.setValue (setting.key, setting.box->getText());
    saveAndAnnounce();
}

void SettingsModal::saveAndAnnounce()
{
    // A failed save is logged by the settings themselves; the value stays in force.
    settings.saveNow();

    if (onSettingsChanged != nullptr)
        onSettingsChanged();
}

void SettingsModal::changeListenerCallback (juce::ChangeBroadcaster*)
{
    settings.reload();
    reselect();

    if (onSettingsChanged != nullptr)
        onSettingsChanged();
}

void SettingsModal::updatePanelSize()
{
    const auto rows = (themeBox.isVisible() ? 2 : 1) + (int) addedSettings.size();
    setPanelSize (420, titleHeight + rows * (settingsLayout::rowHeight + settingsLayout::rowGap) + settingsLayout::rowGap + settingsLayout::rowHeight + panelPadding);
}

void SettingsModal::layoutContent (juce::Rectangle<int> area)
{
    versionLabel.setBounds (area.getRight() - 80 - 30, area.getY() - titleHeight, 80, titleHeight);

    auto row = [&] (juce::Label& label, juce::Component& box)
    {
        auto line = area.removeFromTop (settingsLayout::rowHeight);
        label.setBounds (line.removeFromLeft (settingsLayout::labelWidth));
        box.setBounds (line);
        area.removeFromTop (settingsLayout::rowGap);
    };

    row (scaleLabel, scaleBox);
    if (themeBox.isVisible())
        row (themeLabel, themeBox);

    for (auto& setting : addedSettings)
        row (*setting->label, *setting->box);

    area.removeFromTop (settingsLayout::rowGap);
    showLogButton.setBounds (area.removeFromTop (settingsLayout::rowHeight).withSizeKeepingCentre (160, settingsLayout::rowHeight));
}

} // namespace brindlex

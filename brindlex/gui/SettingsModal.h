#pragma once

#include "FileListener.h"

#include <brindlex/BrindlexSettings.h>
#include <tarn/gui/overlays/ModalWindow.h>
#include <tarn/util/LocationRevealer.h>

namespace brindlex
{

/** The settings dialog: the version, "GUI Scale", "Theme", the product's own choices and
    "Show Log File". Each choice is stored in the per-user settings file at once.

    It watches the settings file, so a change made by another plug-in instance reselects
    its items within about a second; every change, its own or another's, is announced
    through onSettingsChanged. [message thread] */
class SettingsModal : public tarn::ModalWindow
    , private juce::ChangeListener
{
public:
    struct ScaleChoice
    {
        int itemId;
        const char* text;
        double scale;
    };

    static constexpr ScaleChoice scaleChoices[] = {
        { 1, "Tiny", 0.5 }, { 2, "Small", 0.75 }, { 3, "Normal", 1.0 },
        { 4, "Big", 1.25 }, { 5, "Bigger", 1.5 }, { 6, "Massive", 2.0 }
    };

    /** The value item `itemId` of "GUI Scale" stands for (1.0 for any other id). */
    static double scaleForItem (int itemId) noexcept;

    /** The item of a stored scale, or 0 (no item) for a value that is not one of them. */
    static int itemForScale (double scale) noexcept;

    SettingsModal (BrindlexSettings& settings, juce::File logFile, const juce::String& version);
    ~SettingsModal() override;

    /** A product's own choice: label text, settings key, the texts offered, the default. */
    void addSetting (const juce::String& label, const juce::String& key, const juce::StringArray& choices,
                     const juce::String& defaultChoice);

    /** Shows or hides the maker's own "Theme" choice: a product that draws in schemes of its
        own (an added setting) hides it, since it would change nothing. */
    void setMakerThemeShown (bool shouldShow);

    /** The settings changed (this dialog or another instance). */
    std::function<void()> onSettingsChanged;

    /** The program that reveals the log's folder (tests use one that records). */
    void setOpenerProgram (const juce::String& program);

    FileListener& getFileListener() noexcept { return fileListener; }

    /** Reselects every item from the stored values. */
    void reselect();

private:
    struct AddedSetting
    {
        juce::String key, defaultChoice;
        juce::StringArray choices;
        std::unique_ptr<juce::Label> label;
        std::unique_ptr<juce::ComboBox> box;
    };

    void showing() override;
    void layoutContent (juce::Rectangle<int> area) override;
    void changeListenerCallback (juce::ChangeBroadcaster* source) override;

    void scaleChosen();
    void themeChosen();
    void addedSettingChosen (AddedSetting& setting);
    void saveAndAnnounce();
    void updatePanelSize();
    juce::Label& makeLabel (juce::Label& label, const juce::String& text);

    BrindlexSettings& settings;
    const juce::File logFile;
    const juce::String versionText;
    FileListener fileListener;
    std::unique_ptr<tarn::LocationRevealer> revealer;

    juce::Label versionLabel, scaleLabel, themeLabel;
    juce::ComboBox scaleBox, themeBox;
    std::vector<std::unique_ptr<AddedSetting>> addedSettings;
    juce::TextButton showLogButton { "Show Log File" };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SettingsModal)
};

} // namespace brindlex

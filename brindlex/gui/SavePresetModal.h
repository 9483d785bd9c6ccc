#pragma once

#include <brindlex/BrindlexSettings.h>
#include <tarn/gui/overlays/ModalWindow.h>
#include <tarn/presets/PresetManager.h>

namespace brindlex
{

/** "Save Preset": name, categories, description and author of a new user preset.

    Showing it makes sure the user preset folder exists and can be written (creating it
    when missing, with a log line; toasts say what is wrong otherwise), then fills the
    fields: the author last used, and the current preset's name (selected, so typing
    replaces it) and categories unless it is the Initial Patch, with its description when
    it is a user preset (a factory preset's description is the factory's). Saving over an
    existing preset is asked about in the dialog itself. [message thread] */
class SavePresetModal : public tarn::ModalWindow
{
public:
    static constexpr int maxNameLength = 40, maxCategoriesLength = 100, maxAuthorLength = 100;
    static constexpr const char* nameCharacters = "QWERTYUIOPASDFGHJKLZXCVBNM qwertyuiopasdfghjklzxcvbnm1234567890()_";
    static constexpr const char* categoryCharacters = "QWERTYUIOPASDFGHJKLZXCVBNMqwertyuiopasdfghjklzxcvbnm,";
    static constexpr const char* authorCharacters = "QWERTYUIOPASDFGHJKLZXCVBNM qwertyuiopasdfghjklzxcvbnm1234567890()_";

    SavePresetModal (tarn::PresetManager& presets, BrindlexSettings& settings, tarn::ToastManager& toasts);
    ~SavePresetModal() override;

    /** The library's overwrite question, answered in this dialog (shown if it is not). */
    void askOverwrite (const juce::String& title, const juce::String& message, std::function<void (bool)> answer);

    bool isAskingOverwrite() const noexcept { return pendingAnswer != nullptr; }

    /** Saves with the fields' texts (what the "Save" button does). */
    void save();

private:
    void showing() override;
    void closing() override;
    void layoutContent (juce::Rectangle<int> area) override;
    void paint (juce::Graphics& g) override;
    void lookAndFeelChanged() override;

    /** False (with toasts) when the user folder can not be used; creates it when missing. */
    bool prepareUserFolder();
    void fillFields();
    void answerOverwrite (bool overwrite);
    void showQuestion (bool asking);

    tarn::PresetManager& presets;
    BrindlexSettings& settings;
    tarn::ToastManager& toasts;

    juce::Label nameLabel, categoriesLabel, descriptionLabel, authorLabel;
    juce::TextEditor nameField, categoriesField, descriptionField, authorField;
    juce::TextButton saveButton { "Save" }, cancelButton { "Cancel" };

    juce::String questionTitle, questionMessage;
    juce::TextButton overwriteButton { "OK" }, keepButton { "Cancel" };
    std::function<void (bool)> pendingAnswer;
    bool overwriteDeclined = false;

    JUCE_DECLARE_WEAK_REFERENCEABLE (SavePresetModal)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SavePresetModal)
};

} // namespace brindlex

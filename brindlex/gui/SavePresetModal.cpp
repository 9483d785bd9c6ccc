#include "SavePresetModal.h"

#include <tarn/gui/Theme.h>

namespace brindlex
{
namespace
{
    tarn::PopupKind saveDialogKind { "save preset dialog" };
    // Each dialog has its own grid; the names must not meet the other dialog's in a unity batch.
    namespace saveLayout
    {
        constexpr int rowHeight = 30, rowGap = 10, labelWidth = 110, descriptionHeight = 70;
    }
    constexpr const char* authorKey = "preset_author_name";
} // namespace

SavePresetModal::SavePresetModal (tarn::PresetManager& presetManager, BrindlexSettings& settingsFile,
                                  tarn::ToastManager& toastManager)
    : tarn::ModalWindow (saveDialogKind, "Save Preset"),
      presets (presetManager),
      settings (settingsFile),
      toasts (toastManager)
{
    setComponentID ("save_dialog");

    const std::tuple<juce::Label*, juce::TextEditor*, const char*, const char*> fields[] = {
        { &nameLabel, &nameField, "Name", "save_name" },
        { &categoriesLabel, &categoriesField, "Categories", "save_categories" },
        { &descriptionLabel, &descriptionField, "Description", "save_description" },
        { &authorLabel, &authorField, "Author", "save_author" },
    };

    for (const auto& [label, field, text, id] : fields)
    {
        label->setText (text, juce::dontSendNotification);
        label->setJustificationType (juce::Justification::centredLeft);
        addAndMakeVisible (label);
        field->setComponentID (id);
        field->onEscapeKey = [this]
        { close(); };
        addAndMakeVisible (field);
    }

    nameField.setInputRestrictions (maxNameLength, nameCharacters);
    categoriesField.setInputRestrictions (maxCategoriesLength, categoryCharacters);
    authorField.setInputRestrictions (maxAuthorLength, authorCharacters);
    descriptionField.setMultiLine (true, true);
    descriptionField.setReturnKeyStartsNewLine (true);

    for (auto* field : { &nameField, &categoriesField, &authorField })
        field->onReturnKey = [this]
        { save(); };

    categoriesField.setTooltip ("Words separated by commas");

    saveButton.setComponentID ("save_confirm");
    saveButton.onClick = [this]
    { save(); };
    cancelButton.setComponentID ("save_cancel");
    cancelButton.onClick = [this]
    { close(); };
    addAndMakeVisible (saveButton);
    addAndMakeVisible (cancelButton);

    overwriteButton.setComponentID ("overwrite_confirm");
    overwriteButton.onClick = [this]
    { answerOverwrite (true); };
    keepButton.setComponentID ("overwrite_cancel");
    keepButton.onClick = [this]
    { answerOverwrite (false); };
    addChildComponent (overwriteButton);
    addChildComponent (keepButton);

    setPanelSize (480, titleHeight + 3 * (saveLayout::rowHeight + saveLayout::rowGap) + saveLayout::descriptionHeight + saveLayout::rowGap + saveLayout::rowHeight + saveLayout::rowGap * 2 + panelPadding);
}

SavePresetModal::~SavePresetModal()
{
    overwriteDeclined = true;

    if (pendingAnswer != nullptr)
        std::exchange (pendingAnswer, nullptr) (false);
}

void SavePresetModal::lookAndFeelChanged()
{
    tarn::ModalWindow::lookAndFeelChanged();

    // Text fields keep a font of their own: give them the theme's.
    for (auto* field : { &nameField, &categoriesField, &descriptionField, &authorField })
        field->applyFontToAllText (tarn::themeFont (*this));
}

void SavePresetModal::showing()
{
    lookAndFeelChanged();

    showQuestion (false);

    if (! prepareUserFolder())
    {
        // Closed once it is on screen, so whoever asked for it sees it go.
        juce::MessageManager::callAsync ([safeThis = juce::WeakReference<SavePresetModal> (this)]
                                         {
                                             if (safeThis != nullptr)
                                                 safeThis->close();
                                         });
        return;
    }

    fillFields();

    // The name offered is selected, so typing a new one replaces it.
    juce::MessageManager::callAsync ([safeThis = juce::WeakReference<SavePresetModal> (this)]
                                     {
                                         if (safeThis != nullptr && safeThis->isVisible() && safeThis->nameField.isShowing())
                                         {
                                             safeThis->nameField.grabKeyboardFocus();
                                             safeThis->nameField.selectAll();
                                         }
                                     });
}

void SavePresetModal::closing()
{
    if (pendingAnswer != nullptr)
    {
        overwriteDeclined = true;
        std::exchange (pendingAnswer, nullptr) (false);
        overwriteDeclined = false;
    }
}

bool SavePresetModal::prepareUserFolder()
{
    const auto userRoot = presets.getUserRoot();

    if (userRoot.isDirectory())
    {
        if (! userRoot.hasWriteAccess())
            toasts.addToast ("Unable to write to user preset folder: " + userRoot.getFullPathName(), tarn::Toast::error);

        return true;
    }

    juce::Logger::writeToLog ("Creating user preset folder: " + userRoot.getFullPathName());
    const auto created = userRoot.createDirectory();

    if (created.wasOk() && userRoot.isDirectory())
        return true;

    toasts.addToast ("Unable to create user preset folder: " + created.getErrorMessage(), tarn::Toast::error);

    // The nearest folder that exists is where permission was missing.
    auto parent = userRoot.getParentDirectory();

    while (! parent.exists() && parent != parent.getParentDirectory())
        parent = parent.getParentDirectory();

    if (! parent.hasWriteAccess())
        toasts.addToast ("No permission to write to top-level presets folder: " + parent.getFullPathName(), tarn::Toast::error);

    if (userRoot.exists() && ! userRoot.hasWriteAccess())
        toasts.addToast ("No permission to write to exisitng preset folder: " + userRoot.getFullPathName(), tarn::Toast::error);

    return false;
}

void SavePresetModal::fillFields()
{
    authorField.setText (settings.getString (authorKey), false);

    const auto current = presets.getCurrentPreset();

    if (current.name.isNotEmpty() && ! current.isInitialPatch())
    {
        nameField.setText (current.name, false);
        categoriesField.setText (current.categories.joinIntoString (","), false);

        // A factory preset's description describes the factory's phrase, not what the
        // musician made of it: theirs starts empty. Their own presets keep theirs.
        descriptionField.setText (current.isFactory ? juce::String() : current.description, false);
    }
    else
    {
        nameField.clear();
        descriptionField.clear();
        categoriesField.clear();
    }
}

void SavePresetModal::save()
{
    if (pendingAnswer != nullptr)
        return;

    const auto nameIsUsable = tarn::PresetManager::isValidPresetName (nameField.getText());
    const juce::WeakReference<SavePresetModal> safeThis (this);

    presets.savePreset (nameField.getText(), authorField.getText(), descriptionField.getText(), categoriesField.getText(),
                        [safeThis, nameIsUsable] (bool saved)
                        {
                            if (safeThis == nullptr)
                                return;

                            // Declining to overwrite goes back to the form, to choose another name;
                            // a name that can not be saved keeps it open too (the toast says why).
                            if (std::exchange (safeThis->overwriteDeclined, false))
                                return;

                            if (saved || nameIsUsable)
                                safeThis->close();
                        });
}

void SavePresetModal::askOverwrite (const juce::String& title, const juce::String& message, std::function<void (bool)> answer)
{
    if (pendingAnswer != nullptr)
        std::exchange (pendingAnswer, nullptr) (false);

    questionTitle = title;
    questionMessage = message;
    pendingAnswer = std::move (answer);

    if (! isVisible())
        tarn::ModalWindow::show();

    showQuestion (true);
}

void SavePresetModal::answerOverwrite (bool overwrite)
{
    auto answer = std::exchange (pendingAnswer, nullptr);
    showQuestion (false);
    overwriteDeclined = ! overwrite;

    if (answer != nullptr)
        answer (overwrite);

    overwriteDeclined = false;
}

void SavePresetModal::showQuestion (bool asking)
{
    for (auto* c : std::initializer_list<juce::Component*> { &nameLabel, &categoriesLabel, &descriptionLabel, &authorLabel,
                                                             &nameField, &categoriesField, &descriptionField, &authorField,
                                                             &saveButton, &cancelButton })
        c->setVisible (! asking);

    overwriteButton.setVisible (asking);
    keepButton.setVisible (asking);
    repaint();
}

void SavePresetModal::paint (juce::Graphics& g)
{
    tarn::ModalWindow::paint (g);

    if (pendingAnswer == nullptr)
        return;

    auto area = getPanelBounds().withTrimmedTop (titleHeight).reduced (panelPadding, 0);
    g.setColour (tarn::themeColour (*this, "theme.warning"));
    g.setFont (tarn::themeFont (*this, 10.0f));
    g.drawText (questionTitle, area.removeFromTop (saveLayout::rowHeight), juce::Justification::centredLeft, true);
    g.setColour (tarn::themeColour (*this, "text.text"));
    g.setFont (tarn::themeFont (*this));
    g.drawFittedText (questionMessage, area.removeFromTop (saveLayout::rowHeight * 2), juce::Justification::topLeft, 3);
}

void SavePresetModal::layoutContent (juce::Rectangle<int> area)
{
    auto row = [&] (juce::Label& label, juce::Component& field, int height)
    {
        auto line = area.removeFromTop (height);
        label.setBounds (line.removeFromLeft (saveLayout::labelWidth).withHeight (saveLayout::rowHeight));
        field.setBounds (line);
        area.removeFromTop (saveLayout::rowGap);
    };

    auto buttons = area.removeFromBottom (saveLayout::rowHeight);
    row (nameLabel, nameField, saveLayout::rowHeight);
    row (categoriesLabel, categoriesField, saveLayout::rowHeight);
    row (descriptionLabel, descriptionField, saveLayout::descriptionHeight);
    row (authorLabel, authorField, saveLayout::rowHeight);

    saveButton.setBounds (buttons.removeFromRight (100));
    buttons.removeFromRight (saveLayout::rowGap);
    cancelButton.setBounds (buttons.removeFromRight (100));

    overwriteButton.setBounds (saveButton.getBounds());
    keepButton.setBounds (cancelButton.getBounds());
}

} // namespace brindlex

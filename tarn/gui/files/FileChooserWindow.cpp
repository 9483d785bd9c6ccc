#include "FileChooserWindow.h"

#include <tarn/gui/Theme.h>

namespace tarn
{
namespace
{
    constexpr int buttonHeight = 28, buttonGap = 10, questionHeight = 40;
} // namespace

int FileChooserWindow::flagsFor (Mode mode)
{
    using Browser = juce::FileBrowserComponent;

    switch (mode)
    {
        case Mode::saveFile:
            return Browser::saveMode | Browser::canSelectFiles;
        case Mode::chooseFolder:
            return Browser::openMode | Browser::canSelectDirectories;
        case Mode::openFile:
        default:
            return Browser::openMode | Browser::canSelectFiles;
    }
}

FileChooserWindow::FileChooserWindow (PopupKind& kind, const juce::String& title, Mode chooserMode, const juce::File& start,
                                      const juce::String& patterns)
    : ModalWindow (kind, title),
      mode (chooserMode),
      filter (mode == Mode::chooseFolder ? juce::String() : patterns, "*", {}),
      browser (flagsFor (mode), start, mode == Mode::chooseFolder ? nullptr : &filter, nullptr),
      confirmButton (mode == Mode::saveFile ? "Save" : mode == Mode::chooseFolder ? "Choose" : "Open")
{
    setComponentID ("file_chooser");
    browser.setComponentID ("file_chooser_browser");
    browser.setFilenameBoxLabel (mode == Mode::chooseFolder ? "Folder:" : "File name:");
    browser.addListener (this);
    addAndMakeVisible (browser);

    for (auto* child : browser.getChildren())
        if (auto* box = dynamic_cast<juce::TextEditor*> (child))
            filenameBox = box;

    // The browser reads a typed path on Return (it goes to the folder and selects the file);
    // then the choice is taken, as a double click would take it.
    if (filenameBox != nullptr)
    {
        filenameBox->setComponentID ("file_chooser_name");
        filenameBox->getProperties().set ("tarn_keyboard_focus", true);
        auto browsersReturn = filenameBox->onReturnKey;
        filenameBox->onReturnKey = [this, browsersReturn]
        {
            const juce::Component::SafePointer<FileChooserWindow> safeThis (this);

            if (browsersReturn != nullptr)
                browsersReturn();

            if (safeThis != nullptr && isShowing())
                textEditorReturnKeyPressed (*filenameBox);
        };
    }

    confirmButton.setComponentID ("file_chooser_confirm");
    confirmButton.onClick = [this]
    { confirm(); };
    cancelButton.setComponentID ("file_chooser_cancel");
    cancelButton.onClick = [this]
    { close(); };
    replaceButton.setComponentID ("file_chooser_replace");
    replaceButton.onClick = [this]
    {
        const auto file = pendingReplace;
        replaceQuestion.clear();
        replaceButton.setVisible (false);
        finish (file);
    };

    for (auto* button : { &confirmButton, &cancelButton, &replaceButton })
    {
        button->setWantsKeyboardFocus (false);
        addChildComponent (*button);
    }

    confirmButton.setVisible (true);
    cancelButton.setVisible (true);
    setPanelSize (640, 460);
    updateConfirmButton();
}

FileChooserWindow::~FileChooserWindow()
{
    browser.removeListener (this);
}

juce::File FileChooserWindow::getChoice() const
{
    const auto file = browser.getSelectedFile (0);

    switch (mode)
    {
        case Mode::chooseFolder:
            return file.isDirectory() ? file : juce::File();
        case Mode::saveFile:
            return file.getFileName().isNotEmpty() && ! file.isDirectory() && file.getParentDirectory().isDirectory() ? file : juce::File();
        case Mode::openFile:
        default:
            return file.existsAsFile() ? file : juce::File();
    }
}

void FileChooserWindow::confirm()
{
    const auto file = getChoice();

    if (file == juce::File())
        return;

    if (mode == Mode::saveFile && file.existsAsFile())
    {
        askToReplace (file);
        return;
    }

    finish (file);
}

void FileChooserWindow::askToReplace (const juce::File& file)
{
    pendingReplace = file;
    replaceQuestion = "\"" + file.getFileName() + "\" already exists. Replace it?";
    replaceButton.setVisible (true);
    resized();
    repaint();
}

void FileChooserWindow::finish (const juce::File& chosen)
{
    // Closed first: whoever is told may open the next chooser, or let this one go.
    auto callback = onChosen;
    close();

    if (callback != nullptr)
        callback (chosen);
}

void FileChooserWindow::fileDoubleClicked (const juce::File& file)
{
    if (! file.isDirectory())
        confirm();
}

void FileChooserWindow::textEditorReturnKeyPressed (juce::TextEditor&)
{
    // A folder typed or double-clicked was opened by the browser; anything else is the choice.
    if (browser.getSelectedFile (0).isDirectory() && mode != Mode::chooseFolder)
        return;

    confirm();
}

void FileChooserWindow::updateConfirmButton()
{
    confirmButton.setEnabled (getChoice() != juce::File());

    if (isAskingToReplace() && browser.getSelectedFile (0) != pendingReplace)
    {
        replaceQuestion.clear();
        replaceButton.setVisible (false);
        resized();
        repaint();
    }
}

void FileChooserWindow::layoutContent (juce::Rectangle<int> area)
{
    auto buttons = area.removeFromBottom (buttonHeight);
    area.removeFromBottom (buttonGap);

    if (isAskingToReplace())
        area.removeFromBottom (questionHeight);

    browser.setBounds (area);

    const auto widthOf = [] (CommandButton& b)
    { return b.getIdealWidth (buttonHeight) + 24; };
    confirmButton.setBounds (buttons.removeFromRight (widthOf (confirmButton)));
    buttons.removeFromRight (buttonGap);

    if (replaceButton.isVisible())
    {
        replaceButton.setBounds (buttons.removeFromRight (widthOf (replaceButton)));
        buttons.removeFromRight (buttonGap);
    }

    cancelButton.setBounds (buttons.removeFromRight (widthOf (cancelButton)));
}

void FileChooserWindow::paint (juce::Graphics& g)
{
    ModalWindow::paint (g);

    if (isAskingToReplace())
    {
        const auto area = browser.getBounds().withY (browser.getBottom()).withHeight (questionHeight);
        g.setColour (themeColour (*this, "theme.warning"));
        g.setFont (themeFont (*this));
        g.drawText (replaceQuestion, area, juce::Justification::centredLeft, true);
    }
}

void FileChooserWindow::lookAndFeelChanged()
{
    ModalWindow::lookAndFeelChanged();
    browser.sendLookAndFeelChange();
}

} // namespace tarn

#pragma once

#include <tarn/gui/overlays/ModalWindow.h>
#include <tarn/gui/widgets/CommandButton.h>

namespace tarn
{

/** A file or folder chooser drawn inside the editor as one of its dialogs, for desktops
    without a chooser of their own: the theme's colours and fonts, the editor dimmed behind
    it, scaled with it. Return on a typed name or path opens it, as a double click does.
    Saving over an existing file asks first, in the dialog itself.

    It is never modal in the framework's sense (a host closing the window with it open
    must be able to delete the editor at once). [message thread] */
class FileChooserWindow : public ModalWindow
    , private juce::FileBrowserListener
    , private juce::TextEditor::Listener
{
public:
    enum class Mode
    {
        openFile,
        saveFile,
        chooseFolder
    };

    FileChooserWindow (PopupKind& kind, const juce::String& title, Mode mode, const juce::File& start, const juce::String& patterns);
    ~FileChooserWindow() override;

    /** The file or folder the user confirmed. */
    std::function<void (const juce::File&)> onChosen;

    juce::FileBrowserComponent& getBrowser() noexcept { return browser; }
    juce::Button& getConfirmButton() noexcept { return confirmButton; }
    juce::Button& getCancelButton() noexcept { return cancelButton; }

    /** Asking whether to replace an existing file. */
    bool isAskingToReplace() const noexcept { return replaceQuestion.isNotEmpty(); }
    juce::Button& getReplaceButton() noexcept { return replaceButton; }

    /** What the confirm button would choose now (nothing: an invalid choice). */
    juce::File getChoice() const;

    /** The confirm button's action. */
    void confirm();

    void paint (juce::Graphics& g) override;

protected:
    void layoutContent (juce::Rectangle<int> area) override;
    void lookAndFeelChanged() override;

private:
    // FileBrowserListener
    void selectionChanged() override { updateConfirmButton(); }
    void fileClicked (const juce::File&, const juce::MouseEvent&) override {}
    void fileDoubleClicked (const juce::File&) override;
    void browserRootChanged (const juce::File&) override { updateConfirmButton(); }

    // The file name field: Return after the browser has read a typed path.
    void textEditorReturnKeyPressed (juce::TextEditor&) override;
    void textEditorTextChanged (juce::TextEditor&) override { updateConfirmButton(); }

    void finish (const juce::File& chosen);
    void updateConfirmButton();
    void askToReplace (const juce::File& file);
    static int flagsFor (Mode mode);

    Mode mode;
    juce::WildcardFileFilter filter;
    juce::FileBrowserComponent browser;
    juce::TextEditor* filenameBox = nullptr;
    CommandButton confirmButton, cancelButton { "Cancel" }, replaceButton { "Replace" };
    juce::String replaceQuestion;
    juce::File pendingReplace;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FileChooserWindow)
};

} // namespace tarn

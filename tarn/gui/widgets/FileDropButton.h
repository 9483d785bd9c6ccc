#pragma once

#include "IconButton.h"

namespace tarn
{

/** An icon button that also takes a file dropped on it (from the desktop's file manager or
    a host's browser). While a file it accepts hovers over it, it lights up with a ring in
    the theme colour, so the user sees that letting go will work; other files are refused
    there and then. A disabled button accepts nothing.

    A right click calls onRightClick instead of clicking, when that is set. [message thread] */
class FileDropButton : public IconButton
    , public juce::FileDragAndDropTarget
{
public:
    FileDropButton (const juce::String& iconName, const juce::String& componentId, const juce::String& tooltip);
    ~FileDropButton() override;

    /** The files it takes, by their extension (".mid", ".midi"), compared without letter case. */
    void setAcceptedExtensions (const juce::StringArray& extensions);

    /** The first file of a drop that it takes, or nothing. */
    std::optional<juce::File> findAcceptedFile (const juce::StringArray& paths) const;

    /** A file it accepts was dropped on it. */
    std::function<void (const juce::File& file)> onFileDropped;

    /** A right click (the popup-menu click); when unset a right click is an ordinary click. */
    std::function<void()> onRightClick;

    /** True while an accepted file hovers over the button. */
    bool isShowingDropTarget() const noexcept { return dropHovering; }

    // FileDragAndDropTarget
    bool isInterestedInFileDrag (const juce::StringArray& files) override;
    void fileDragEnter (const juce::StringArray& files, int x, int y) override;
    void fileDragExit (const juce::StringArray& files) override;
    void filesDropped (const juce::StringArray& files, int x, int y) override;

    void paintButton (juce::Graphics& g, bool highlighted, bool down) override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;

private:
    void enablementChanged() override;
    void setDropHovering (bool hovering);

    juce::StringArray acceptedExtensions;
    bool dropHovering = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FileDropButton)
};

} // namespace tarn

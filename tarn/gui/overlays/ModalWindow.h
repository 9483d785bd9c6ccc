#pragma once

#include "PopupKind.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace tarn
{

/** A dialog inside the editor: it covers the whole window with "#BB000000", so nothing
    behind it takes clicks, and shows a titled panel in the middle with a close button.
    Escape closes it too. Derived dialogs put their controls in the panel (content area)
    and close themselves from their own buttons.

    It is a child of the editor, never a window of its own, so it scales and moves with
    the editor and can not get lost behind the host. [message thread] */
class ModalWindow : public juce::Component
{
public:
    static constexpr juce::uint32 dimColour = 0xbb000000;

    ModalWindow (PopupKind& kind, const juce::String& title);
    ~ModalWindow() override;

    /** Covers the parent and shows the dialog (showing() runs first). */
    void show();

    /** Hides it (closing() runs first) and calls onClose. */
    void close();

    bool isShowing() const noexcept { return isVisible(); }

    /** Called after the dialog has closed, whichever way. */
    std::function<void()> onClose;

    /** The panel's size; the dialog keeps it centred. */
    void setPanelSize (int width, int height);

    const juce::String& getTitleText() const noexcept { return titleText; }

    void paint (juce::Graphics& g) override;
    void resized() override;
    bool keyPressed (const juce::KeyPress& key) override;
    void parentSizeChanged() override;

protected:
    /** Lay the controls out in this area of the panel (below the title). */
    virtual void layoutContent (juce::Rectangle<int> area) = 0;

    /** About to show: fill the controls. */
    virtual void showing() {}

    /** About to close. */
    virtual void closing() {}

    juce::Rectangle<int> getPanelBounds() const;

    static constexpr int titleHeight = 44, panelPadding = 20;

private:
    PopupKind& dialogKind;
    juce::String titleText;
    juce::DrawableButton closeButton { "close", juce::DrawableButton::ImageFitted };
    int panelWidth = 400, panelHeight = 300;

    void updateCloseIcon();

protected:
    void lookAndFeelChanged() override;

private:

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ModalWindow)
};

} // namespace tarn

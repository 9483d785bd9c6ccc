#include "ModalWindow.h"

#include <tarn/gui/Theme.h>

namespace tarn
{

ModalWindow::ModalWindow (PopupKind& kindOfDialog, const juce::String& title)
    : dialogKind (kindOfDialog),
      titleText (title)
{
    setVisible (false);
    setInterceptsMouseClicks (true, true);

    // Escape needs the keyboard once the user works in the dialog; until then the host
    // keeps its shortcuts.
    setWantsKeyboardFocus (true);
    getProperties().set ("tarn_keyboard_focus", true);

    closeButton.setComponentID ("modal_close");
    closeButton.setTooltip ("Close");
    closeButton.setWantsKeyboardFocus (false);
    closeButton.setMouseClickGrabsKeyboardFocus (false);
    closeButton.onClick = [this]
    { close(); };
    addAndMakeVisible (closeButton);
    updateCloseIcon();
}

ModalWindow::~ModalWindow() = default;

void ModalWindow::show()
{
    if (auto* parent = getParentComponent())
        setBounds (parent->getLocalBounds());

    showing();
    dialogKind.shown();
    setVisible (true);
    toFront (false);
    resized();
}

void ModalWindow::close()
{
    if (! isVisible())
        return;

    closing();

    if (hasKeyboardFocus (true))
        giveAwayKeyboardFocus();

    setVisible (false);

    if (onClose != nullptr)
        onClose();
}

void ModalWindow::setPanelSize (int width, int height)
{
    panelWidth = width;
    panelHeight = height;
    resized();
}

juce::Rectangle<int> ModalWindow::getPanelBounds() const
{
    return getLocalBounds().withSizeKeepingCentre (juce::jmin (panelWidth, getWidth()), juce::jmin (panelHeight, getHeight()));
}

void ModalWindow::parentSizeChanged()
{
    if (auto* parent = getParentComponent())
        setBounds (parent->getLocalBounds());
}

void ModalWindow::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (dimColour));

    const auto panel = getPanelBounds().toFloat();
    const auto corner = themeMetric (*this, "cornerRadius", 2.5f) * 2.0f;

    g.setColour (themeColour (*this, "background.panel"));
    g.fillRoundedRectangle (panel, corner);
    g.setColour (themeColour (*this, "elements.elementborder"));
    g.drawRoundedRectangle (panel.reduced (0.5f), corner, themeMetric (*this, "panelBorderWidth", 1.0f));

    g.setColour (themeColour (*this, "text.text"));
    g.setFont (themeFont (*this, 11.0f));
    g.drawText (titleText, panel.withHeight ((float) titleHeight).reduced ((float) panelPadding, 0.0f),
                juce::Justification::centredLeft, true);
}

void ModalWindow::resized()
{
    const auto panel = getPanelBounds();
    const auto buttonSize = 20;
    closeButton.setBounds (panel.getRight() - panelPadding / 2 - buttonSize - 4, panel.getY() + (titleHeight - buttonSize) / 2,
                           buttonSize, buttonSize);

    layoutContent (panel.withTrimmedTop (titleHeight).reduced (panelPadding, 0).withTrimmedBottom (panelPadding));
}

bool ModalWindow::keyPressed (const juce::KeyPress& key)
{
    if (key == juce::KeyPress::escapeKey)
    {
        close();
        return true;
    }

    return false;
}

void ModalWindow::lookAndFeelChanged()
{
    updateCloseIcon();
}

void ModalWindow::updateCloseIcon()
{
    auto normal = themeIcon (*this, "x", "text.text");
    auto over = themeIcon (*this, "x", "text.highlightedtext");
    closeButton.setImages (normal.get(), over.get());
}

} // namespace tarn

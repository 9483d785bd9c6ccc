#include "AudioProcessorEditor.h"

#include <tarn/gui/ThemeSelector.h>

namespace tarn
{

AudioProcessorEditor::AudioProcessorEditor (juce::AudioProcessor& owner, ToastManager& toasts)
    : juce::AudioProcessorEditor (owner),
      lookAndFeel (ThemeSelector::getInstance()->getColourSchemeNumber()),
      toastDisplay (toasts)
{
    setLookAndFeel (&lookAndFeel);
    tooltipWindow.setLookAndFeel (&lookAndFeel);
    tooltipWindow.setComponentID ("tooltip");
    setWantsKeyboardFocus (false);

    addOverlay (toastDisplay);
    ThemeSelector::getInstance()->addChangeListener (this);
}

AudioProcessorEditor::~AudioProcessorEditor()
{
    ThemeSelector::getInstance()->removeChangeListener (this);
    tooltipWindow.setLookAndFeel (nullptr);
    setLookAndFeel (nullptr);
}

float AudioProcessorEditor::sanitiseUserScale (double scale) noexcept
{
    if (! std::isfinite (scale) || scale < (double) minUserScale || scale > (double) maxUserScale)
        return 1.0f;

    return (float) scale;
}

void AudioProcessorEditor::setUserScale (double scale)
{
    const auto sanitised = sanitiseUserScale (scale);

    if (! juce::approximatelyEqual (sanitised, userScale))
    {
        userScale = sanitised;
        applyScale();
    }
}

void AudioProcessorEditor::setScaleFactor (float newHostScale)
{
    if (newHostScale > 0.0f && std::isfinite (newHostScale))
        hostScale = newHostScale;

    applyScale();
}

void AudioProcessorEditor::applyScale()
{
    juce::AudioProcessorEditor::setScaleFactor (getEffectiveScale());
}

void AudioProcessorEditor::addOverlay (juce::Component& overlay)
{
    overlays.push_back (&overlay);
    addChildComponent (overlay);

    if (&overlay == &toastDisplay)
        overlay.setVisible (true);
}

void AudioProcessorEditor::resized()
{
    layoutContent (getLocalBounds());

    for (auto* overlay : overlays)
    {
        overlay->setBounds (getLocalBounds());
        overlay->toFront (false);
    }

    // Toasts above every dialog.
    toastDisplay.toFront (false);

    keepKeyboardFocusForTextFields (*this);
    windowSizeChanged (getWidth(), getHeight());
}

void AudioProcessorEditor::keepKeyboardFocusForTextFields (juce::Component& root)
{
    for (auto* child : root.getChildren())
    {
        const auto keeps = dynamic_cast<juce::TextEditor*> (child) != nullptr
                        || (bool) child->getProperties().getWithDefault ("tarn_keyboard_focus", false);

        if (! keeps)
        {
            child->setWantsKeyboardFocus (false);
            child->setMouseClickGrabsKeyboardFocus (false);
        }

        keepKeyboardFocusForTextFields (*child);
    }
}

void AudioProcessorEditor::changeListenerCallback (juce::ChangeBroadcaster*)
{
    if (lookAndFeel.setColourSchemeNumber (ThemeSelector::getInstance()->getColourSchemeNumber()))
    {
        sendLookAndFeelChange();
        resized();
        colourSchemeChanged();
        repaint();
    }
}

} // namespace tarn

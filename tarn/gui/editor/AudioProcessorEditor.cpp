#include "AudioProcessorEditor.h"

#include <tarn/gui/ThemeSelector.h>
#include <tarn/gui/overlays/Callout.h>
#include <tarn/gui/overlays/ModalWindow.h>

namespace tarn
{
namespace
{
    PopupKind tooltipKind { "tooltip" };
} // namespace


AudioProcessorEditor::AudioProcessorEditor (juce::AudioProcessor& owner, ToastManager& toasts)
    : juce::AudioProcessorEditor (owner),
      lookAndFeel (ThemeSelector::getInstance()->getColourSchemeNumber()),
      toastDisplay (toasts)
{
    setLookAndFeel (&lookAndFeel);
    tooltipWindow.setLookAndFeel (&lookAndFeel);
    tooltipWindow.setComponentID ("tooltip");
    setWantsKeyboardFocus (false);
    setFocusContainerType (FocusContainerType::keyboardFocusContainer);

    addOverlay (toastDisplay);
    ThemeSelector::getInstance()->addChangeListener (this);
    addMouseListener (&keyboardReturner, true);
}

AudioProcessorEditor::~AudioProcessorEditor()
{
    // Menus sit inside the editor; dismissed now, they never call back into it (their
    // callbacks check their owner), and none outlives the window.
    juce::PopupMenu::dismissAllActiveMenus();

    removeMouseListener (&keyboardReturner);
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

    // Made before it had a parent, it drew its icons in the default theme: now it has ours.
    overlay.sendLookAndFeelChange();

    if (&overlay == &toastDisplay)
        overlay.setVisible (true);
}

void AudioProcessorEditor::resized()
{
    layoutContent (getLocalBounds());

    for (auto* overlay : overlays)
        overlay->setBounds (getLocalBounds());

    raiseOverlays();

    keepKeyboardFocusForTextFields (*this);
    windowSizeChanged (getWidth(), getHeight());
}

void AudioProcessorEditor::raiseOverlays()
{
    for (auto* overlay : overlays)
        overlay->toFront (false);

    // What was opened on top of them (a chooser over the render overlay, a row's callout)
    // stays on top, in the order it was opened.
    juce::Array<juce::Component*> transient;
    for (auto* child : getChildren())
        if (child->isVisible() && (dynamic_cast<ModalWindow*> (child) != nullptr || dynamic_cast<Callout*> (child) != nullptr)
            && std::find (overlays.begin(), overlays.end(), child) == overlays.end())
            transient.add (child);

    for (auto* child : transient)
        child->toFront (false);

    // Toasts above every dialog.
    toastDisplay.toFront (false);
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

std::unique_ptr<juce::ComponentTraverser> AudioProcessorEditor::createKeyboardFocusTraverser()
{
    struct Traverser : juce::KeyboardFocusTraverser
    {
        explicit Traverser (juce::Component& editorToSkip) : editor (editorToSkip) {}

        juce::Component* getDefaultComponent (juce::Component* parent) override
        {
            return parent == &editor ? nullptr : juce::KeyboardFocusTraverser::getDefaultComponent (parent);
        }

        juce::Component& editor;
    };

    return std::make_unique<Traverser> (*this);
}

void AudioProcessorEditor::TooltipPanel::visibilityChanged()
{
    if (isVisible())
        tooltipKind.shown();

    juce::TooltipWindow::visibilityChanged();
}

juce::String AudioProcessorEditor::TooltipPanel::getTipFor (juce::Component& component)
{
    if (juce::ModifierKeys::currentModifiers.isAnyMouseButtonDown() || component.isCurrentlyBlockedByAnotherModalComponent())
        return {};

    if (auto* client = dynamic_cast<juce::TooltipClient*> (&component))
        return client->getTooltip();

    return {};
}

void AudioProcessorEditor::KeyboardReturner::mouseUp (const juce::MouseEvent& e)
{
    // After the click has done its work (a dialog may focus its text field).
    returnWhenDone (juce::Component::SafePointer<AudioProcessorEditor> (&editor), e.originalComponent, 0);
}

void AudioProcessorEditor::KeyboardReturner::returnWhenDone (juce::Component::SafePointer<AudioProcessorEditor> editor,
                                                               juce::Component::SafePointer<juce::Component> clicked,
                                                               int attempt)
{
    juce::Timer::callAfterDelay (attempt == 0 ? 1 : 100, [editor, clicked, attempt]
                                 {
                                     if (editor == nullptr)
                                         return;

                                     // An open menu closes when its window loses the keyboard: wait for it.
                                     if (juce::ModalComponentManager::getInstance()->getNumModalComponents() > 0)
                                     {
                                         if (attempt < 300)
                                             returnWhenDone (editor, clicked, attempt + 1);

                                         return;
                                     }

                                     // A text field keeps the keys, and so does a component that asks for
                                     // them ("tarn_keyboard_focus", the note grid) when it was the one
                                     // clicked: a click anywhere else gives them back to the host.
                                     auto* focused = juce::Component::getCurrentlyFocusedComponent();
                                     const auto clickedFocused = focused != nullptr && clicked != nullptr
                                                                 && (focused == clicked.getComponent() || focused->isParentOf (clicked));
                                     const auto keepsKeys = dynamic_cast<juce::TextEditor*> (focused) != nullptr
                                                            || (clickedFocused && (bool) focused->getProperties().getWithDefault ("tarn_keyboard_focus", false));

                                     if (! keepsKeys)
                                         editor->hostKeyboardFocus.giveBackToHost (*editor);
                                 });
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

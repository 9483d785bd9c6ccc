#include "ControllerLaneButton.h"

#include "PianoRollTheme.h"

namespace tarn
{

ControllerLaneButton::ControllerLaneButton (const juce::String& laneName)
    : juce::Button (laneName)
{
    setTooltip ("Controller: Click to edit this lane. Right click for more options");
    setWantsKeyboardFocus (false); // the host keeps the keyboard
    setMouseClickGrabsKeyboardFocus (false);
}

void ControllerLaneButton::paintButton (juce::Graphics& g, bool isHighlighted, bool isDown)
{
    const auto bounds = getLocalBounds().toFloat().reduced (1.0f);
    const auto corner = themeMetric (*this, "cornerRadius", 2.5f);
    const auto on = getToggleState();

    g.setColour (on ? themeColour (*this, "theme.primary") : themeColour (*this, "elements.element").brighter (isHighlighted ? 0.1f : 0.0f));
    g.fillRoundedRectangle (bounds, corner);

    if (editor == nullptr)
    {
        g.setColour (themeColour (*this, on ? "text.textOnTheme" : "text.text").withMultipliedAlpha (isDown ? 0.7f : 1.0f));
        g.setFont (themeFont (*this, PianoRollText::small));
        g.drawFittedText (getButtonText(), getLocalBounds().reduced (6, 0), juce::Justification::centred, 1);
    }
}

void ControllerLaneButton::mouseDown (const juce::MouseEvent& e)
{
    if (e.mods.isPopupMenu())
    {
        if (onMenuRequested != nullptr)
            onMenuRequested();

        return;
    }

    juce::Button::mouseDown (e);
}

void ControllerLaneButton::resized()
{
    if (editor != nullptr)
        editor->setBounds (getLocalBounds().reduced (1));
}

void ControllerLaneButton::startRenaming()
{
    if (editor != nullptr)
        return;

    editor = std::make_unique<juce::TextEditor>();
    editor->setComponentID ("lane_name");
    editor->setJustification (juce::Justification::centred);
    editor->setFont (themeFont (*this, PianoRollText::small));
    editor->setText (getButtonText(), false);
    editor->selectAll();
    editor->onReturnKey = [this]
    { finishRenaming (true); };
    editor->onEscapeKey = [this]
    { finishRenaming (false); };
    editor->onFocusLost = [this]
    { finishRenaming (true); };
    addAndMakeVisible (*editor);
    resized();
    editor->grabKeyboardFocus();
    repaint();
}

void ControllerLaneButton::finishRenaming (bool apply)
{
    if (editor == nullptr)
        return;

    const auto typed = editor->getText().trim();
    std::shared_ptr<juce::TextEditor> old (editor.release());
    old->onReturnKey = old->onEscapeKey = old->onFocusLost = nullptr;
    removeChildComponent (old.get());

    // Deleted after this call returns: the editor is the one calling.
    juce::MessageManager::callAsync ([old] {});
    repaint();

    if (apply && typed != getButtonText() && onRenamed != nullptr)
        onRenamed (typed);
}

} // namespace tarn

#include "ComboTextBox.h"

namespace tarn
{

ComboTextBox::ComboTextBox()
    : juce::Label (juce::String(), juce::String())
{
}

ComboTextBox::~ComboTextBox()
{
    // Going with the window: nothing is committed.
    if (field != nullptr)
        field->onFocusLost = nullptr;
}

void ComboTextBox::mouseUp (const juce::MouseEvent& e)
{
    if (isEditableOnSingleClick() && isEnabled() && contains (e.getPosition()) && ! (e.mouseWasDraggedSinceMouseDown() || e.mods.isPopupMenu()))
        startTyping();
}

void ComboTextBox::mouseDoubleClick (const juce::MouseEvent& e)
{
    if (isEditableOnDoubleClick() && isEnabled() && ! e.mods.isPopupMenu())
        startTyping();
}

void ComboTextBox::focusGained (FocusChangeType cause)
{
    if (isEditableOnSingleClick() && isEnabled() && cause == focusChangedByTabKey)
        startTyping();
}

void ComboTextBox::startTyping()
{
    if (field != nullptr)
        return;

    retired.reset();
    field = std::make_unique<juce::TextEditor>();
    field->setComponentID (getComponentID() + "_text");
    field->setFont (getFont());
    field->setJustification (getJustificationType());
    field->setIndents (0, 0);
    field->setBorder (getBorderSize());
    field->setText (getText(), false);
    field->onReturnKey = [this]
    { finishTyping (true); };
    field->onEscapeKey = [this]
    { finishTyping (false); };
    field->onFocusLost = [this]
    { finishTyping (true); };
    addAndMakeVisible (*field);
    resized();
    field->grabKeyboardFocus();
    field->selectAll();
}

void ComboTextBox::finishTyping (bool commit)
{
    if (field == nullptr)
        return;

    // Called from the field's own callbacks: it is only hidden now, and goes at the next
    // start or with this box.
    retired = std::move (field);
    retired->onFocusLost = nullptr;
    retired->setVisible (false);
    const auto text = retired->getText();

    if (commit && text != getText())
    {
        setText (text, juce::sendNotificationSync);
        textWasEdited();
    }
}

void ComboTextBox::resized()
{
    juce::Label::resized();

    if (field != nullptr)
        field->setBounds (getLocalBounds());
}

} // namespace tarn

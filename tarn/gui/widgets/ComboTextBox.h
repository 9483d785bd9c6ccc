#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace tarn
{

/** The text part of a combo box whose text can be typed (a time signature). The framework's
    label is modal while it is edited, and a host closing the window then has the framework's
    VST2 wrapper keep the editor past the host's window; this one types into a text field of
    its own instead. Return or a click elsewhere commits the text, Escape keeps the old one.
    [message thread] */
class ComboTextBox : public juce::Label
{
public:
    ComboTextBox();
    ~ComboTextBox() override;

    bool isTyping() const noexcept { return field != nullptr; }

    /** Starts typing, the current text selected. */
    void startTyping();

    void mouseUp (const juce::MouseEvent& e) override;
    void mouseDoubleClick (const juce::MouseEvent& e) override;
    void focusGained (FocusChangeType cause) override;
    void resized() override;

private:
    void finishTyping (bool commit);

    std::unique_ptr<juce::TextEditor> field, retired;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ComboTextBox)
};

} // namespace tarn

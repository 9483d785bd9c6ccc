#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** One phrase slot's button: its number, or its name when it has one. A phrase that holds
    notes is a solid button with a mark in its corner, an empty one only an outline; the
    phrase being edited is filled with the theme colour; the one playing carries a bar along
    its foot. [message thread] */
class PhraseButton : public juce::Button
{
public:
    explicit PhraseButton (int slot);

    int getSlot() const noexcept { return slot; }

    /** Shows the phrase's name (empty: its number). */
    void setPhraseName (const juce::String& name);
    const juce::String& getPhraseName() const noexcept { return phraseName; }

    void setEdited (bool isEdited);
    bool isEdited() const noexcept { return edited; }

    void setPlaying (bool isPlaying);
    bool isPlaying() const noexcept { return playing; }

    void setHoldsNotes (bool holdsNotes);
    bool holdsNotes() const noexcept { return hasNotes; }

    /** Right clicks open the phrase menu instead of clicking. */
    std::function<void()> onRightClick;

    void paintButton (juce::Graphics& g, bool isHighlighted, bool isDown) override;
    void mouseDown (const juce::MouseEvent& event) override;
    void mouseUp (const juce::MouseEvent& event) override;

private:
    const int slot;
    juce::String phraseName;
    bool edited = false, playing = false, hasNotes = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PhraseButton)
};

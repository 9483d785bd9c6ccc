#pragma once

#include <source/processor/CadenziumModifier.h>

#include <juce_gui_basics/juce_gui_basics.h>

/** One row of the rows column: its colour, its label ("Lowest", "Loudest (Ch 2)", or the
    user's name), whether it is muted or locked against generation, and a light while it
    sounds. The row editor listens to its mouse. [message thread] */
class CadenziumRow : public juce::Component
    , public juce::SettableTooltipClient
{
public:
    static constexpr const char* tooltip = "Row: Drag to reorder. Right click to edit row settings. Shift click to toggle mute.";

    explicit CadenziumRow (int index);

    int getIndex() const noexcept { return index; }

    void show (const CadenziumModifier& row);
    const CadenziumModifier& getShownRow() const noexcept { return shown; }

    /** What the row turns the held chord into ("C3", "C3 E3 G3"); empty while nothing is
        held or the row picks at random. Shown after its label. */
    void setResolvedNotes (const juce::String& notes);
    const juce::String& getResolvedNotes() const noexcept { return resolvedNotes; }

    /** The badges for the row's shift: "+1 oct", "-3 st"; empty without one. */
    static juce::StringArray shiftBadges (const CadenziumModifier& row);

    void setSounding (bool isSounding);
    bool isSounding() const noexcept { return sounding; }

    /** While it is being dragged it is drawn lifted. */
    void setDragging (bool isDragging);

    /** The colour the row is drawn with (RowColours). */
    juce::Colour getRowColour() const;

    void paint (juce::Graphics& g) override;

private:
    const int index;
    CadenziumModifier shown;
    juce::String resolvedNotes;
    bool sounding = false, dragging = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CadenziumRow)
};

#pragma once

#include <source/commands/EditCommands.h>
#include <source/editor/widgets/ColourSwatch.h>
#include <source/processor/CadenziumModifier.h>
#include <tarn/gui/widgets/CommandButton.h>
#include <tarn/gui/widgets/ThemedToggle.h>

#include <juce_gui_basics/juce_gui_basics.h>

class Cadenzium2AudioProcessor;

/** The settings of one row, opened by a click on it: its name; "Input" (Type and a Value
    list that depends on the type); "Output" (Transpose and Octave steppers, Channel); "Row"
    (Mute, Lock Generation, the row colour); and Delete Row, marked as destructive.

    The steppers step one semitone or octave a click over everything a row can hold
    (±127, ±10), so a stored value beyond the usual range shows and stays.

    Each choice is written at once as one undo step: name, type, value, transpose, octave,
    channel and colour as "Change row settings"; Mute and Lock Generation as "Mute row",
    "Lock row generation" (or "Unmute row", "Unlock row generation"); Delete Row as
    "Delete row", which closes the popup.

    All members: [message thread].
*/
class CadenziumRowPopup : public juce::Component
{
public:
    CadenziumRowPopup (Cadenzium2AudioProcessor& processor, int row);
    ~CadenziumRowPopup() override;

    int getRow() const noexcept { return row; }

    /** Shows the row as the processor has it now; false when the row is gone. */
    bool refresh();

    /** Called after Delete Row, or when the row is gone: whoever shows the popup closes it. */
    std::function<void()> onCloseRequest;

    /** The Value list's texts for a type ("1 (Lowest)", "2" ... "Highest" for Pitch);
        empty for the types that take no value. */
    static juce::StringArray valueNamesFor (int type);

    juce::ComboBox& getTypeBox() noexcept { return typeBox; }
    juce::ComboBox& getValueBox() noexcept { return valueBox; }
    juce::Slider& getTransposeStepper() noexcept { return transposeStepper; }
    juce::Slider& getOctaveStepper() noexcept { return octaveStepper; }
    juce::ComboBox& getChannelBox() noexcept { return channelBox; }
    juce::Button& getLockButton() noexcept { return lockToggle; }
    juce::Button& getMuteButton() noexcept { return muteToggle; }
    juce::Button& getDeleteButton() noexcept { return deleteButton; }
    juce::TextEditor& getNameEditor() noexcept { return nameEditor; }
    ColourSwatch& getSwatch (int index) { return *swatches[index]; }

    /** The size the popup asks for. */
    juce::Rectangle<int> getIdealBounds() const;

    void paint (juce::Graphics& g) override;
    void resized() override;
    void lookAndFeelChanged() override;

private:
    void fillValueBox (int type, int value);
    void write (const CadenziumModifier& changed);
    void writeFromControls();
    int getLineHeight() const;
    int getLabelWidth() const;

    Cadenzium2AudioProcessor& processor;
    EditCommands commands { processor };
    const int row;
    bool showing = false;

    juce::TextEditor nameEditor;
    juce::ComboBox typeBox, valueBox, channelBox;
    juce::Slider transposeStepper, octaveStepper;
    tarn::ThemedToggle lockToggle { "Lock Generation" };
    tarn::ThemedToggle muteToggle { "Mute" };
    juce::OwnedArray<ColourSwatch> swatches;
    tarn::CommandButton deleteButton { "Delete Row" };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CadenziumRowPopup)
};

#pragma once

#include "SequenceLengthComponent.h"

#include <tarn/sequence/Sequence.h>

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace tarn
{

/** The edited phrase's length box, "Time Sig:" and "Repeat:" boxes. They show the phrase and
    report what the user chooses; choosing what the phrase already has reports nothing.
    All members: [message thread].
*/
class PhraseControls : public juce::Component
{
public:
    PhraseControls();
    ~PhraseControls() override;

    void showPhrase (const Sequence&);

    std::function<void (int ticks)> onLengthPreview, onLengthChosen;
    std::function<void (int numerator, int denominator)> onTimeSignatureChosen;

    /** Passes before the phrase falls silent: −1 forever, 1 for "Never" (one pass), 2 … 5. */
    std::function<void (int loopCount)> onLoopCountChosen;

    SequenceLengthComponent& getLengthBox() noexcept { return length; }
    juce::ComboBox& getTimeSignatureBox() noexcept { return timeSignature; }
    juce::ComboBox& getRepeatBox() noexcept { return repeat; }

    /** The Repeat box's item for a loop count: "Forever" 1, "Never" 3, "1" … "4" 4 … 7;
        0 for a count it does not list. */
    static int repeatItemFor (int loopCount) noexcept;

    /** What the Repeat box shows for a loop count: its item's text, the number of repeats
        for a count it does not list (a song can hold up to 253 passes), "Silent" for 0, a
        phrase that plays no pass. */
    static juce::String repeatTextFor (int loopCount);

    /** "7/8" → (7, 8); nothing for text that is not a time signature the program accepts. */
    static std::optional<std::pair<int, int>> parseTimeSignature (const juce::String&);

    void resized() override;

private:
    void timeSignatureChanged();
    void repeatChanged();

    SequenceLengthComponent length;
    juce::Label lengthLabel { {}, "Length:" }, timeSignatureLabel { {}, "Time Sig:" }, repeatLabel { {}, "Repeat:" };
    juce::ComboBox timeSignature, repeat;
    int numerator = 4, denominator = 4, loopCount = -1;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PhraseControls)
};

} // namespace tarn

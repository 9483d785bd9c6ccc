#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class Cadenzium2AudioProcessor;

/** Beside the keyboard: the name of the chord held at the input now ("Cmaj7", "G/B"), or
    a hint to hold one. Read from the processor's held-note snapshot. [message thread] */
class HeldChordDisplay : public juce::Component
{
public:
    static constexpr const char* caption = "Chord";
    static constexpr const char* emptyText = "Hold a chord";

    explicit HeldChordDisplay (Cadenzium2AudioProcessor& processor);

    /** Reads the held notes; the editor calls it on its timer. */
    void refresh();

    /** The name shown; empty while nothing is held. */
    const juce::String& getChordName() const noexcept { return chordName; }

    void paint (juce::Graphics& g) override;

private:
    Cadenzium2AudioProcessor& processor;
    juce::String chordName;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HeldChordDisplay)
};

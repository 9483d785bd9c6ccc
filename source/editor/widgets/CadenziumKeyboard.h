#pragma once

#include <juce_audio_utils/juce_audio_utils.h>

#include <bitset>

class Cadenzium2AudioProcessor;

/** The keyboard view: the MIDI range in keys large enough to hit (as many octaves as fit,
    scrolled with the wheel or the arrows at its ends, and following the held and played
    notes into view), played with the mouse into the processor's input (those notes join the input at the next block, like the host's). It shows the
    chord the rows play from (the held notes, latched ones included), the notes the phrase
    plays at the output, and the octave of keyswitches.

    A mouse plays one key at a time, so it can also hold a chord: a Shift-click holds a key
    down (or lets a held one go) until a plain click on the keyboard lets the whole chord go.
    Whatever it holds is let go when the window closes, so no note hangs in the host.
    [message thread] */
class CadenziumKeyboard : public juce::MidiKeyboardComponent
{
public:
    explicit CadenziumKeyboard (Cadenzium2AudioProcessor& processor);
    ~CadenziumKeyboard() override;

    /** The keys Shift-clicks hold down. */
    const std::bitset<128>& getHeldChord() const noexcept { return chord; }

    /** Reads what is held and played from the processor and repaints when it changed; the
        editor calls it on its timer. */
    void refresh();

    bool isShownHeld (int note) const noexcept { return held[(size_t) note]; }
    bool isShownPlaying (int note) const noexcept { return playing[(size_t) note]; }

    /** The lowest keyswitch note shown, or -1 while keyswitches are off. */
    int getKeyswitchLowestNote() const noexcept { return keyswitchLowest; }

    /** The highest key shown whole (the view may start anywhere in the range). */
    int getHighestFullyVisibleKey() const;

    void resized() override;

private:
    /** Scrolls the held and played notes into view when some lie outside it. */
    void followPlayedNotes();

    bool mouseDownOnKey (int note, const juce::MouseEvent& e) override;
    bool mouseDraggedToKey (int note, const juce::MouseEvent& e) override;
    void releaseChord();

    void drawWhiteNote (int note, juce::Graphics& g, juce::Rectangle<float> area, bool isDown, bool isOver,
                        juce::Colour lineColour, juce::Colour textColour) override;
    void drawBlackNote (int note, juce::Graphics& g, juce::Rectangle<float> area, bool isDown, bool isOver,
                        juce::Colour noteFillColour) override;
    juce::String getWhiteNoteText (int note) override;
    void drawUpDownButton (juce::Graphics& g, int w, int h, bool isMouseOver, bool isButtonPressed, bool movesOctavesUp) override;

    /** The key's colour: its own, under what lights it. */
    juce::Colour keyColour (int note, bool isBlack, bool isDown, bool isOver) const;
    void markKeyswitch (int note, juce::Graphics& g, juce::Rectangle<float> area) const;
    void markHeldAndPlayed (int note, juce::Graphics& g, juce::Rectangle<float> area) const;

    Cadenzium2AudioProcessor& processor;
    std::bitset<128> held, playing, chord;
    bool pressedWithShift = false, placing = false;
    int placedWidth = -1;
    int keyswitchLowest = -1;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CadenziumKeyboard)
};

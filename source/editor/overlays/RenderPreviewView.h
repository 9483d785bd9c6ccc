#pragma once

#include <tarn/gui/pianoroll/PianoRoll.h>

/** The render overlay's preview: the piano roll, read-only, with one row per MIDI pitch,
    scrolled to the pitches the render plays. A keyboard strip at its left names each row's
    note beside the grid, so notes at the start of the render never hide the names.
    [message thread] */
class RenderPreviewView : public juce::Component
    , private tarn::PianoRoll::Listener
{
public:
    RenderPreviewView();
    ~RenderPreviewView() override;

    void setSequence (const tarn::Sequence& sequence);

    /** What the piano roll shows. */
    const tarn::Sequence& getSequence() noexcept { return pianoRoll.getDocument().getCommittedPhrase(); }

    tarn::PianoRoll& getPianoRoll() noexcept { return pianoRoll; }

    /** Scrolls the rows so the notes' pitches are in the middle of the view. */
    void centreOnNotes();

    /** The keyboard strip's width. */
    static constexpr int keyStripWidth = 44;

    void paint (juce::Graphics& g) override;
    void resized() override;
    void mouseWheelMove (const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override;

private:
    void pianoRollPhraseEdited (const tarn::Sequence&) override {}
    void pianoRollRowLayoutChanged() override { repaint (0, 0, keyStripWidth, getHeight()); }

    tarn::PianoRoll pianoRoll;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RenderPreviewView)
};

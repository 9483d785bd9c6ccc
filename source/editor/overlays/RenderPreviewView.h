#pragma once

#include <tarn/gui/pianoroll/PianoRoll.h>

/** The render overlay's preview: the piano roll, read-only, with one row per MIDI pitch
    named after its note, scrolled to the pitches the render plays. [message thread] */
class RenderPreviewView : public juce::Component
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

    void resized() override;

private:
    tarn::PianoRoll pianoRoll;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RenderPreviewView)
};

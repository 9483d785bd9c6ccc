#pragma once

#include <tarn/sequence/Sequence.h>

#include <juce_gui_basics/juce_gui_basics.h>

/** A read-only piano roll of a rendered MIDI file: one lane per pitch over the range the
    notes use, bar and beat lines, the notes shaded by velocity, note names at the left.
    It draws; it edits nothing. [message thread] */
class RenderPreviewView : public juce::Component
{
public:
    RenderPreviewView();
    ~RenderPreviewView() override;

    void setSequence (tarn::Sequence sequence);
    const tarn::Sequence& getSequence() const noexcept { return sequence; }

    /** The lowest and highest pitch shown (the notes' range with a little room). */
    juce::Range<int> getShownPitches() const noexcept { return shownPitches; }

    void paint (juce::Graphics& g) override;

private:
    juce::Rectangle<float> getNoteArea() const;

    tarn::Sequence sequence;
    juce::Range<int> shownPitches { 48, 73 };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RenderPreviewView)
};

#include "RenderPreviewView.h"

#include <juce_audio_basics/juce_audio_basics.h>

RenderPreviewView::RenderPreviewView()
{
    setComponentID ("render_preview");
    pianoRoll.setReadOnly (true);

    std::vector<tarn::PianoRollRow> pitches (128);

    for (int pitch = 0; pitch < 128; ++pitch)
        pitches[(size_t) pitch].label = juce::MidiMessage::getMidiNoteName (pitch, true, true, 3);

    pianoRoll.setRows (pitches);
    addAndMakeVisible (pianoRoll);
}

RenderPreviewView::~RenderPreviewView() = default;

void RenderPreviewView::setSequence (const tarn::Sequence& sequence)
{
    pianoRoll.setPhrase (sequence);
    centreOnNotes();
}

void RenderPreviewView::centreOnNotes()
{
    const auto& notes = getSequence().notes;

    if (notes.empty())
        return;

    auto low = 127, high = 0;

    for (const auto& note : notes)
    {
        low = std::min (low, note.number);
        high = std::max (high, note.number);
    }

    const auto& rows = pianoRoll.getRowAxis();
    const auto middle = (rows.yOf (low) + rows.yOf (high) + rows.rowHeight) / 2.0 + rows.scrollY;
    pianoRoll.setRowScroll (middle - pianoRoll.getGridBounds().getHeight() / 2.0);
}

void RenderPreviewView::resized()
{
    pianoRoll.setBounds (getLocalBounds());
    centreOnNotes();
}

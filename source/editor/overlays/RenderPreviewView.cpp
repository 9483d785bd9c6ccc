#include "RenderPreviewView.h"

#include <juce_audio_basics/juce_audio_basics.h>
#include <tarn/gui/Theme.h>

RenderPreviewView::RenderPreviewView()
{
    setComponentID ("render_preview");
    pianoRoll.setReadOnly (true);

    // The names stand in the keyboard strip, not in the grid under the notes.
    pianoRoll.setRows (std::vector<tarn::PianoRollRow> (128));
    pianoRoll.addListener (this);
    addAndMakeVisible (pianoRoll);
}

RenderPreviewView::~RenderPreviewView()
{
    pianoRoll.removeListener (this);
}

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

void RenderPreviewView::paint (juce::Graphics& g)
{
    const auto grid = pianoRoll.getGridBounds().translated (pianoRoll.getX(), pianoRoll.getY());
    const auto strip = juce::Rectangle<int> (0, grid.getY(), keyStripWidth - 2, grid.getHeight());
    const auto& rows = pianoRoll.getRowAxis();

    g.reduceClipRegion (strip);
    g.setFont (tarn::themeFont (*this, juce::jmin (tarn::TarnLibLookAndFeel::defaultTextSize, (float) rows.rowHeight * 0.5f)));

    for (int pitch = 0; pitch < 128; ++pitch)
    {
        const auto top = (float) strip.getY() + (float) rows.yOf (pitch);
        const auto key = juce::Rectangle<float> (0.0f, top, (float) strip.getWidth(), (float) rows.rowHeight);

        if (! key.intersects (strip.toFloat()))
            continue;

        const auto isBlack = juce::MidiMessage::isMidiNoteBlack (pitch);
        g.setColour (tarn::themeColour (*this, isBlack ? "pianoroll.blackkey" : "pianoroll.whitekey"));
        g.fillRect (key.reduced (0.0f, 0.5f));

        // Dark text on the white keys, light on the black ones, whatever the scheme.
        const auto keyColour = tarn::themeColour (*this, isBlack ? "pianoroll.blackkey" : "pianoroll.whitekey");
        g.setColour (keyColour.contrasting (pitch % 12 == 0 ? 0.9f : 0.6f));
        g.drawText (juce::MidiMessage::getMidiNoteName (pitch, true, true, 3), key.reduced (4.0f, 0.0f),
                    juce::Justification::centredRight, false);
    }
}

void RenderPreviewView::resized()
{
    pianoRoll.setBounds (getLocalBounds().withTrimmedLeft (keyStripWidth));
    centreOnNotes();
}

void RenderPreviewView::mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails& wheel)
{
    // The wheel over the keyboard strip scrolls the rows, as it does over the grid.
    const auto& rows = pianoRoll.getRowAxis();
    pianoRoll.setRowScroll (rows.scrollY - (double) wheel.deltaY * rows.rowHeight * 8.0);
}

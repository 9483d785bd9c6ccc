#include "HeldChordDisplay.h"

#include "ChordName.h"

#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/gui/Theme.h>

HeldChordDisplay::HeldChordDisplay (Cadenzium2AudioProcessor& p) : processor (p)
{
    setComponentID ("held_chord");
    setInterceptsMouseClicks (false, false);
}

void HeldChordDisplay::refresh()
{
    std::vector<int> notes;
    for (const auto& held : processor.getHeldNotesSnapshot())
        notes.push_back (held.note);

    if (auto name = ChordName::of (notes); name != chordName)
    {
        chordName = std::move (name);
        repaint();
    }
}

void HeldChordDisplay::paint (juce::Graphics& g)
{
    const auto area = getLocalBounds().toFloat();
    const auto corner = tarn::themeMetric (*this, "cornerRadius", 2.5f);
    g.setColour (tarn::themeColour (*this, "background.panel"));
    g.fillRoundedRectangle (area, corner);
    g.setColour (tarn::themeColour (*this, "elements.elementborder"));
    g.drawRoundedRectangle (area.reduced (0.5f), corner, 1.0f);

    auto text = getLocalBounds().reduced (juce::roundToInt (tarn::themeMetric (*this, "comboTextPadding", 10.0f)), 4);
    const auto captionFont = tarn::themeFont (*this);
    g.setFont (captionFont);
    g.setColour (tarn::themeColour (*this, "text.text").withMultipliedAlpha (0.7f));
    g.drawText (caption, text.removeFromTop (juce::roundToInt (captionFont.getHeight() * 1.2f)), juce::Justification::centredLeft, false);

    if (chordName.isEmpty())
    {
        g.setColour (tarn::themeColour (*this, "text.disabledtext"));
        g.drawFittedText (emptyText, text, juce::Justification::centredLeft, 1, 0.8f);
        return;
    }

    g.setColour (tarn::themeColour (*this, "text.text"));
    g.setFont (tarn::themeFont (*this, 16.0f).boldened());
    g.drawFittedText (chordName, text, juce::Justification::centredLeft, 1, 0.6f);
}

#include "PhraseButton.h"

#include <tarn/gui/Theme.h>

PhraseButton::PhraseButton (int phraseSlot)
    : juce::Button ("Phrase " + juce::String (phraseSlot + 1)), slot (phraseSlot)
{
    setComponentID ("phrase_" + juce::String (phraseSlot + 1));
    setWantsKeyboardFocus (false);
    setButtonText (juce::String (slot + 1));
}

void PhraseButton::setPhraseName (const juce::String& name)
{
    if (name == phraseName)
        return;

    phraseName = name;
    setButtonText (name.isNotEmpty() ? name : juce::String (slot + 1));
}

void PhraseButton::setEdited (bool isEdited)
{
    if (edited != isEdited)
    {
        edited = isEdited;
        repaint();
    }
}

void PhraseButton::setPlaying (bool isPlaying)
{
    if (playing != isPlaying)
    {
        playing = isPlaying;
        repaint();
    }
}

void PhraseButton::setHoldsNotes (bool holdsNotes)
{
    if (hasNotes != holdsNotes)
    {
        hasNotes = holdsNotes;
        repaint();
    }
}

void PhraseButton::mouseDown (const juce::MouseEvent& event)
{
    if (event.mods.isPopupMenu())
    {
        if (onRightClick != nullptr)
            onRightClick();
        return;
    }

    juce::Button::mouseDown (event);
}

void PhraseButton::mouseUp (const juce::MouseEvent& event)
{
    if (! event.mods.isPopupMenu())
        juce::Button::mouseUp (event);
}

void PhraseButton::paintButton (juce::Graphics& g, bool isHighlighted, bool isDown)
{
    const auto area = getLocalBounds().toFloat().reduced (0.5f);
    const auto corner = tarn::themeMetric (*this, "cornerRadius", 2.5f);

    // An empty phrase is only an outline on the window's background, so the phrases that
    // hold music stand out at a glance.
    auto background = tarn::themeColour (*this, edited ? "theme.primary" : hasNotes ? "elements.element" : "background.background");
    if (isDown)
        background = background.darker (0.2f);
    else if (isHighlighted)
        background = background.brighter (0.15f);

    g.setColour (background);
    g.fillRoundedRectangle (area, corner);
    g.setColour (edited ? tarn::themeColour (*this, "theme.primary")
                        : hasNotes ? tarn::themeColour (*this, "elements.elementborder")
                                   : tarn::themeColour (*this, "text.text").withMultipliedAlpha (0.3f));
    g.drawRoundedRectangle (area, corner, 1.0f);

    if (hasNotes)
    {
        // Three short note bars in the top corner: "this phrase has notes".
        const auto unit = std::max (1.5f, area.getHeight() / 14.0f);
        const auto mark = area.reduced (corner + unit).removeFromTop (4.0f * unit).removeFromRight (5.0f * unit);
        g.setColour (tarn::themeColour (*this, edited ? "text.textOnTheme" : "theme.primary").withMultipliedAlpha (0.85f));
        g.fillRect (mark.getX(), mark.getBottom() - unit, 2.0f * unit, unit);
        g.fillRect (mark.getX() + 1.5f * unit, mark.getCentreY() - unit * 0.5f, 2.0f * unit, unit);
        g.fillRect (mark.getRight() - 2.0f * unit, mark.getY(), 2.0f * unit, unit);
    }

    if (playing)
    {
        // The playing phrase: a bar along the foot, in the accent's selection shade so it
        // shows on the edited (filled) button too.
        const auto barHeight = std::max (2.0f, area.getHeight() / 8.0f);
        g.setColour (tarn::themeColour (*this, "theme.selection"));
        g.fillRoundedRectangle (area.withTop (area.getBottom() - barHeight).reduced (corner, 0.0f), barHeight / 2.0f);
    }

    g.setColour (tarn::themeColour (*this, edited ? "text.textOnTheme" : "text.text"));
    g.setFont (tarn::themeFont (*this));
    g.drawFittedText (getButtonText(), area.reduced (2.0f, 0.0f).toNearestInt(), juce::Justification::centred, 1, 0.7f);
}

#include "CadenziumKeyboard.h"

#include <source/processor/Cadenzium2AudioProcessor.h>
#include <source/processor/Parameters.h>
#include <tarn/gui/Theme.h>

namespace
{
constexpr int numWhiteKeys = 75; // in the whole MIDI range 0..127
} // namespace

CadenziumKeyboard::CadenziumKeyboard (Cadenzium2AudioProcessor& p)
    : juce::MidiKeyboardComponent (p.getInputKeyboardState(), juce::KeyboardComponentBase::horizontalKeyboard),
      processor (p)
{
    setComponentID ("keyboard");
    setName ("Keyboard View");
    setAvailableRange (0, 127);
    setScrollButtonsVisible (false);
    setOctaveForMiddleC (3);
    setWantsKeyboardFocus (false);
    setMidiChannel (1);
    refresh();
}

CadenziumKeyboard::~CadenziumKeyboard()
{
    // The state outlives the window (it is the processor's): a key the mouse still holds,
    // a chord or the one under a press the host closed the window on, would sound forever.
    processor.getInputKeyboardState().allNotesOff (getMidiChannel());
}

bool CadenziumKeyboard::mouseDownOnKey (int note, const juce::MouseEvent& e)
{
    pressedWithShift = e.mods.isShiftDown();

    if (! pressedWithShift)
    {
        releaseChord();
        return true; // the key sounds while the button is down, as always
    }

    auto& keys = processor.getInputKeyboardState();
    chord.flip ((size_t) note);

    if (chord[(size_t) note])
        keys.noteOn (getMidiChannel(), note, getNoteAndVelocityAtPosition (e.position).velocity); // as a plain click would
    else
        keys.noteOff (getMidiChannel(), note, 0.0f);

    return false;
}

bool CadenziumKeyboard::mouseDraggedToKey (int, const juce::MouseEvent&)
{
    // A Shift-click holds one key; sliding on from it plays nothing.
    return ! pressedWithShift;
}

void CadenziumKeyboard::releaseChord()
{
    auto& keys = processor.getInputKeyboardState();

    for (int note = 0; note < 128; ++note)
        if (chord[(size_t) note])
            keys.noteOff (getMidiChannel(), note, 0.0f);

    chord.reset();
}

void CadenziumKeyboard::refresh()
{
    std::bitset<128> heldNow, playingNow;

    for (const auto& note : processor.getHeldNotesSnapshot())
        if (juce::isPositiveAndBelow (note.note, 128))
            heldNow.set ((size_t) note.note);

    for (const auto& channel : processor.getPlaybackDisplay().soundingNotes)
        playingNow |= channel;

    const auto keyswitchesOn = processor.getIntParameterValue (ParameterIds::keyswitchEnable) != 0;
    const auto lowest = keyswitchesOn ? Parameters::keyswitchRangeLowestNote (processor.getIntParameterValue (ParameterIds::keyswitchRange)) : -1;

    if (heldNow != held || playingNow != playing || lowest != keyswitchLowest)
    {
        held = heldNow;
        playing = playingNow;
        keyswitchLowest = lowest;
        repaint();
    }
}

void CadenziumKeyboard::resized()
{
    setKeyWidth ((float) getWidth() / (float) numWhiteKeys);
    setBlackNoteLengthProportion (0.6f);
    juce::MidiKeyboardComponent::resized();
}

juce::Colour CadenziumKeyboard::keyColour (int note, bool isBlack, bool isDown, bool isOver) const
{
    auto colour = tarn::themeColour (*this, isBlack ? "pianoroll.blackkey" : "pianoroll.whitekey");

    // Played output notes show over held input notes (what sounds matters most): the full
    // accent, where a held key is a light tint of it; a played key that is also held gets
    // a dot (markHeldAndPlayed).
    if (playing[(size_t) note])
        colour = colour.interpolatedWith (tarn::themeColour (*this, "theme.primary"), 0.9f);
    else if (isDown)
        colour = colour.interpolatedWith (tarn::themeColour (*this, "theme.primary"), 0.85f);
    else if (held[(size_t) note])
        colour = colour.interpolatedWith (tarn::themeColour (*this, "theme.primary"), 0.5f);

    if (isOver)
        colour = colour.interpolatedWith (tarn::themeColour (*this, "theme.primary"), 0.2f);

    return colour;
}

void CadenziumKeyboard::markKeyswitch (int note, juce::Graphics& g, juce::Rectangle<float> area) const
{
    if (keyswitchLowest < 0 || note < keyswitchLowest || note > keyswitchLowest + 11)
        return;

    g.setColour (tarn::themeColour (*this, "theme.marker"));
    g.fillRect (area.withHeight (std::max (3.0f, area.getHeight() / 12.0f)));
}

void CadenziumKeyboard::markHeldAndPlayed (int note, juce::Graphics& g, juce::Rectangle<float> area) const
{
    if (! held[(size_t) note] || ! playing[(size_t) note])
        return;

    const auto size = std::max (3.0f, area.getWidth() * 0.35f);
    g.setColour (tarn::themeColour (*this, "text.textOnTheme"));
    g.fillEllipse (juce::Rectangle<float> (size, size).withCentre ({ area.getCentreX(), area.getBottom() - area.getHeight() * 0.3f }));
}

void CadenziumKeyboard::drawWhiteNote (int note, juce::Graphics& g, juce::Rectangle<float> area, bool isDown, bool isOver,
                                       juce::Colour, juce::Colour)
{
    g.setColour (keyColour (note, false, isDown, isOver));
    g.fillRect (area);
    markKeyswitch (note, g, area);
    markHeldAndPlayed (note, g, area);

    const auto text = getWhiteNoteText (note);
    if (text.isNotEmpty())
    {
        const auto fontHeight = std::min (area.getWidth() * 0.7f, tarn::themeFont (*this, 7.0f).getHeight());
        g.setColour (tarn::themeColour (*this, "pianoroll.blackkey"));
        g.setFont (tarn::themeFont (*this, 7.0f).withHeight (fontHeight));
        g.drawText (text, area.withTrimmedBottom (2.0f), juce::Justification::centredBottom, false);
    }

    g.setColour (tarn::themeColour (*this, "elements.elementborder"));
    g.fillRect (area.withWidth (1.0f));
}

void CadenziumKeyboard::drawBlackNote (int note, juce::Graphics& g, juce::Rectangle<float> area, bool isDown, bool isOver, juce::Colour)
{
    g.setColour (keyColour (note, true, isDown, isOver));
    g.fillRect (area);
    markKeyswitch (note, g, area);
    markHeldAndPlayed (note, g, area);
}

juce::String CadenziumKeyboard::getWhiteNoteText (int note)
{
    // Only the Cs are named, and only when the keys are wide enough to read them.
    if (note % 12 != 0 || getKeyWidth() < 10.0f)
        return {};

    return juce::MidiMessage::getMidiNoteName (note, true, true, 3);
}

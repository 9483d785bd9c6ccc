#include "CadenziumKeyboard.h"

#include <source/processor/Cadenzium2AudioProcessor.h>
#include <source/processor/Parameters.h>
#include <tarn/gui/Theme.h>

namespace
{
constexpr int numWhiteKeys = 75; // in the whole MIDI range 0..127

// Keys narrower than this are hard to hit and their names unreadable: a narrow keyboard shows
// fewer octaves and scrolls (the wheel, its arrows, or by itself to follow what is played).
constexpr float smallestWhiteKeyWidth = 22.0f;
constexpr int keyboardScrollButtonWidth = 20;
} // namespace

CadenziumKeyboard::CadenziumKeyboard (Cadenzium2AudioProcessor& p)
    : juce::MidiKeyboardComponent (p.getInputKeyboardState(), juce::KeyboardComponentBase::horizontalKeyboard),
      processor (p)
{
    setComponentID ("keyboard");
    setName ("Keyboard View");
    setAvailableRange (0, 127);
    setScrollButtonWidth (keyboardScrollButtonWidth);
    setScrollButtonsVisible (true);
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
        followPlayedNotes();
        repaint();
    }
}

int CadenziumKeyboard::getHighestFullyVisibleKey() const
{
    auto highest = getLowestVisibleKey();
    const auto right = (float) getWidth() - (getTotalKeyboardWidth() > (float) getWidth() ? (float) keyboardScrollButtonWidth : 0.0f);

    for (int note = getLowestVisibleKey(); note < 128; ++note)
    {
        if (getKeyStartPosition (note) + getKeyWidth() * (juce::MidiMessage::isMidiNoteBlack (note) ? 0.7f : 1.0f) > right)
            break;
        highest = note;
    }

    return highest;
}

void CadenziumKeyboard::followPlayedNotes()
{
    const auto notes = held | playing;
    if (notes.none())
        return;

    int lowestNote = 127, highestNote = 0;
    for (int note = 0; note < 128; ++note)
    {
        if (notes[(size_t) note])
        {
            lowestNote = std::min (lowestNote, note);
            highestNote = std::max (highestNote, note);
        }
    }

    // The lowest key shown lies partly under the left arrow.
    const auto first = getLowestVisibleKey() + (getLowestVisibleKey() > 0 ? 2 : 0);
    const auto last = getHighestFullyVisibleKey();
    if (lowestNote >= first && highestNote <= last)
        return;

    // Centre what sounds, starting the view on a C where that still shows it all.
    const auto span = last - first;
    auto start = juce::jlimit (0, std::max (0, 127 - span), (lowestNote + highestNote) / 2 - span / 2);
    if (start % 12 != 0 && highestNote <= start - start % 12 + span)
        start -= start % 12;
    setLowestVisibleKey (std::max (0, std::min (start, lowestNote) - 1));
}

void CadenziumKeyboard::resized()
{
    setKeyWidth (std::max (smallestWhiteKeyWidth, (float) getWidth() / (float) numWhiteKeys));
    setBlackNoteLengthProportion (0.6f);
    juce::MidiKeyboardComponent::resized();

    // Moving the view (the wheel, the arrows, following notes) lays the keys out again and
    // calls this again: only a new width places the view anew.
    if (placing || getWidth() == placedWidth)
        return;

    const juce::ScopedValueSetter<bool> nowPlacing (placing, true);
    placedWidth = getWidth();

    // A new size shows middle C in the middle octave, from a C just right of the arrow (then
    // whatever is played).
    const auto octaves = (int) ((float) getWidth() / getKeyWidth()) / 7;
    setLowestVisibleKey (std::max (0, juce::jlimit (0, 120, 60 - 12 * (octaves / 2)) - 1));

    followPlayedNotes();
}

void CadenziumKeyboard::drawUpDownButton (juce::Graphics& g, int w, int h, bool isMouseOver, bool isButtonPressed, bool movesOctavesUp)
{
    auto background = tarn::themeColour (*this, "elements.element");
    if (isButtonPressed)
        background = background.darker (0.2f);
    else if (isMouseOver)
        background = background.brighter (0.15f);

    g.fillAll (background);
    g.setColour (tarn::themeColour (*this, "elements.elementborder"));
    g.drawRect (0, 0, w, h);

    const auto size = (float) std::min (w, h) * 0.35f;
    const auto centre = juce::Point<float> ((float) w / 2.0f, (float) h / 2.0f);
    const auto direction = movesOctavesUp ? 1.0f : -1.0f;
    juce::Path arrow;
    arrow.addTriangle (centre.x + direction * size * 0.5f, centre.y, centre.x - direction * size * 0.5f, centre.y - size * 0.6f,
                       centre.x - direction * size * 0.5f, centre.y + size * 0.6f);
    g.setColour (tarn::themeColour (*this, "text.text"));
    g.fillPath (arrow);
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

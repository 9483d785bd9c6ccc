#include "RenderPreviewView.h"

#include <tarn/gui/Theme.h>

#include <juce_audio_basics/juce_audio_basics.h>

namespace
{
constexpr int minimumPitchSpan = 24;
constexpr int pitchMargin = 2;

bool isBlackKey (int pitch)
{
    return juce::MidiMessage::isMidiNoteBlack (pitch);
}
} // namespace

RenderPreviewView::RenderPreviewView()
{
    setComponentID ("render_preview");
    setInterceptsMouseClicks (false, false);
}

RenderPreviewView::~RenderPreviewView() = default;

void RenderPreviewView::setSequence (tarn::Sequence newSequence)
{
    sequence = std::move (newSequence);

    if (sequence.notes.empty())
    {
        shownPitches = { 48, 48 + minimumPitchSpan + 1 };
    }
    else
    {
        auto low = 127, high = 0;

        for (const auto& note : sequence.notes)
        {
            low = std::min (low, note.number);
            high = std::max (high, note.number);
        }

        low = std::max (0, low - pitchMargin);
        high = std::min (127, high + pitchMargin);

        // A narrow range is widened around its middle, so a few notes are not drawn as slabs.
        while (high - low < minimumPitchSpan && (low > 0 || high < 127))
        {
            if (low > 0)
                --low;

            if (high - low < minimumPitchSpan && high < 127)
                ++high;
        }

        shownPitches = { low, high + 1 };
    }

    repaint();
}

juce::Rectangle<float> RenderPreviewView::getNoteArea() const
{
    const auto keyWidth = tarn::themeFont (*this, 7.0f).getStringWidthFloat ("C#-2") + 10.0f;
    return getLocalBounds().toFloat().withTrimmedLeft (keyWidth);
}

void RenderPreviewView::paint (juce::Graphics& g)
{
    const auto bounds = getLocalBounds().toFloat();
    const auto area = getNoteArea();
    const auto numPitches = juce::jmax (1, shownPitches.getLength());
    const auto rowHeight = area.getHeight() / (float) numPitches;
    const auto length = juce::jmax (1, sequence.getLength());
    const auto ticksToX = [&] (double ticks)
    { return area.getX() + (float) (ticks / length) * area.getWidth(); };
    const auto pitchToY = [&] (int pitch)
    { return area.getBottom() - (float) (pitch - shownPitches.getStart() + 1) * rowHeight; };

    g.setColour (tarn::themeColour (*this, "background.background"));
    g.fillRect (bounds);

    // Lanes, white and black keys as the piano roll shades them, with names at each C.
    const auto labelFont = tarn::themeFont (*this, 7.0f);
    g.setFont (labelFont);

    for (int pitch = shownPitches.getStart(); pitch < shownPitches.getEnd(); ++pitch)
    {
        const auto y = pitchToY (pitch);
        g.setColour (tarn::themeColour (*this, isBlackKey (pitch) ? "pianoroll.blackrow" : "pianoroll.whiterow"));
        g.fillRect (area.getX(), y, area.getWidth(), rowHeight);

        if (pitch % 12 == 0 && rowHeight * 3.0f >= labelFont.getHeight())
        {
            g.setColour (tarn::themeColour (*this, "text.disabledtext"));
            g.drawText (juce::MidiMessage::getMidiNoteName (pitch, true, true, 3),
                        juce::Rectangle<float> (bounds.getX() + 2.0f, y + rowHeight * 0.5f - labelFont.getHeight() * 0.5f,
                                                area.getX() - bounds.getX() - 6.0f, labelFont.getHeight()),
                        juce::Justification::centredRight, false);
        }
    }

    // Beats and bars.
    const auto beat = tarn::Ticks::perQuarter;
    const auto beatWidth = area.getWidth() * (float) beat / (float) length;

    for (int tick = 0; tick <= length; tick += beat)
    {
        const auto isBar = tick % tarn::Ticks::perWhole == 0;

        if (! isBar && beatWidth < 6.0f)
            continue;

        g.setColour (tarn::themeColour (*this, "elements.elementborder").brighter (isBar ? 0.4f : 0.1f));
        g.fillRect (ticksToX (tick), area.getY(), isBar ? 1.5f : 1.0f, area.getHeight());
    }

    const auto theme = tarn::themeColour (*this, "theme.primary");

    for (const auto& note : sequence.notes)
    {
        if (! shownPitches.contains (note.number))
            continue;

        const auto x = ticksToX (note.timestamp);
        const auto width = juce::jmax (2.0f, ticksToX (note.getEnd()) - x);
        const auto noteArea = juce::Rectangle<float> (x, pitchToY (note.number), width, rowHeight).reduced (0.0f, juce::jmin (1.0f, rowHeight * 0.1f));
        const auto strength = 0.45f + 0.55f * (float) note.velocityMax / 127.0f;
        g.setColour (theme.withMultipliedBrightness (strength));
        g.fillRect (noteArea);
        g.setColour (theme.brighter (0.3f));
        g.drawRect (noteArea, 0.6f);
    }

    g.setColour (tarn::themeColour (*this, "elements.elementborder"));
    g.drawRect (bounds, 1.0f);
}

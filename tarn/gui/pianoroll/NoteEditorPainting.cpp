#include "NoteEditor.h"

#include "PianoRollTheme.h"

namespace tarn
{
namespace
{
    constexpr double smallestLineSpacing = 4.0; // finer lines than this are left out

    /** The lines of one kind (cells, beats or bars) across the visible ticks. */
    template <typename DrawLine>
    void forEachLine (const TimeAxis& axis, int step, int length, DrawLine&& draw)
    {
        if (step <= 0 || step * axis.pixelsPerTick() < smallestLineSpacing)
            return;

        const auto first = std::max (0, (int) std::floor (axis.firstTick / step) * step);
        const auto last = std::min ((double) length, axis.firstTick + axis.visibleTicks);

        for (auto tick = first; tick <= last; tick += step)
            draw ((float) axis.xOf (tick));
    }
} // namespace

void NoteEditor::renderBackground()
{
    const auto scale = (float) juce::jmax (1.0, (double) juce::Component::getApproximateScaleFactorForComponent (this));
    const auto width = std::max (1, getWidth()), height = std::max (1, getHeight());
    background = juce::Image (juce::Image::RGB, juce::roundToInt ((float) width * scale), juce::roundToInt ((float) height * scale), false);

    juce::Graphics g (background);
    g.addTransform (juce::AffineTransform::scale (scale));

    const auto& axis = view.getTimeAxis();
    const auto& rowAxis = view.getRowAxis();
    const auto length = phrase().getLength();
    const auto endX = (float) axis.xOf (length);
    const auto numRows = (int) rows.size();

    g.fillAll (themeColour (*this, "background.background"));

    for (int row = 0; row < numRows; ++row)
    {
        const auto bounds = rowBounds (row);

        if (bounds.getBottom() < 0.0f || bounds.getY() > (float) height)
            continue;

        g.setColour (PianoRollLanes::stripeColour (*this, row));
        g.fillRect (bounds.withRight (endX));
    }

    // Fewer rows than the grid holds stand at its foot; empty lanes above them continue the
    // stripes up to the top, where new rows will appear.
    const auto stackTop = (float) (rowAxis.stackTop - rowAxis.scrollY);
    const auto laneHeight = (float) std::max (1.0, rowAxis.rowHeight);

    for (int lane = 0; stackTop - (float) lane * laneHeight > 0.0f; ++lane)
    {
        const auto bottom = stackTop - (float) lane * laneHeight;
        g.setColour (PianoRollLanes::emptyLaneColour (*this, numRows + lane));
        g.fillRect (0.0f, bottom - laneHeight, endX, laneHeight);
    }

    // Lines from the finest to the boldest, so bars stay on top; fainter over empty lanes.
    const auto lineColour = themeColour (*this, "text.text");
    const auto beat = Ticks::perWhole / std::max (1, phrase().timeSignatureDenominator);
    const auto bar = phrase().getBarLength();
    const auto gridTop = std::max (0.0f, stackTop);
    const auto gridHeight = std::min ((float) height, (float) (rowAxis.stackTop + rowAxis.totalHeight() - rowAxis.scrollY)) - gridTop;

    const auto drawLines = [&] (int step, float alpha, float thickness)
    {
        forEachLine (axis, step, length, [&] (float x)
                     {
                         g.setColour (lineColour.withAlpha (alpha));
                         g.fillRect (x - thickness * 0.5f, gridTop, thickness, gridHeight);
                         g.setColour (lineColour.withAlpha (alpha * 0.5f));
                         g.fillRect (x - thickness * 0.5f, 0.0f, thickness, gridTop); });
    };

    drawLines (grid.ticks, 0.05f, 1.0f);
    drawLines (beat, 0.10f, 1.0f);
    drawLines (bar, 0.28f, 1.5f);

    // The phrase end, when the view reaches past it (notes a paste or a duplicate left there).
    if (endX < (float) width)
    {
        g.setColour (themeColour (*this, "theme.primary"));
        g.fillRect (endX - 1.0f, 0.0f, 2.0f, gridTop + gridHeight);
    }

    // Line separators, rows and lanes alike.
    g.setColour (themeColour (*this, "background.background").withAlpha (0.8f));

    for (int row = 0; row < numRows; ++row)
        g.fillRect (0.0f, rowBounds (row).getBottom() - 1.0f, endX, 1.0f);

    for (int lane = 0; stackTop - (float) lane * laneHeight > 0.0f; ++lane)
        g.fillRect (0.0f, stackTop - (float) lane * laneHeight - 1.0f, endX, 1.0f);

    backgroundIsValid = true;
}

void NoteEditor::paint (juce::Graphics& g)
{
    if (! backgroundIsValid || background.getWidth() <= 0)
        renderBackground();

    const auto clip = g.getClipBounds();

    if (background.getWidth() == getWidth())
        g.drawImageAt (background, 0, 0);
    else
        g.drawImage (background, getLocalBounds().toFloat());

    paintLoops (g, clip);
    paintNotes (g, clip);
    paintEmptyHint (g);

    if (marquee.has_value())
    {
        const auto area = marqueeArea();
        g.setColour (themeColour (*this, "theme.primary").withAlpha (0.18f));
        g.fillRect (area);
        g.setColour (themeColour (*this, "theme.primary"));
        g.drawRect (area, 1.0f);
    }

    paintPlayhead (g);
}

void NoteEditor::paintEmptyHint (juce::Graphics& g) const
{
    if (! phrase().notes.empty())
        return;

    // An empty phrase says how to begin, in the middle of the grid, on a plate of the
    // panel's colour so the grid's lines do not run through the words.
    const auto font = themeFont (*this, PianoRollText::normal);
    const auto width = std::ceil (font.getStringWidthFloat (emptyPhraseHint)) + font.getHeight() * 2.0f;
    const auto plate = getLocalBounds().toFloat().withSizeKeepingCentre (std::min (width, (float) getWidth()), font.getHeight() * 2.2f);
    const auto& theme = getTheme (*this);

    g.setColour (themeColour (*this, "background.panel").withAlpha (0.9f));
    g.fillRoundedRectangle (plate, themeMetric (*this, "cornerRadius", 2.5f));
    g.setColour (themeColour (*this, theme.hasThemeColour ("text.secondarytext") ? "text.secondarytext" : "text.text"));
    g.setFont (font);
    g.drawFittedText (emptyPhraseHint, plate.toNearestInt(), juce::Justification::centred, 1, 0.8f);
}

void NoteEditor::paintLoops (juce::Graphics& g, juce::Rectangle<int> clip) const
{
    const auto& loops = phrase().loops;
    const auto length = phrase().getLength();
    const auto showHandles = tool == NoteTool::loop;

    for (int row = 0; row < std::min ((int) rows.size(), Sequence::numRows); ++row)
    {
        const auto bounds = rowBounds (row);

        if (! clip.toFloat().intersects (bounds))
            continue;

        const auto& loop = loops[(size_t) row];
        const auto edited = showHandles && row == loopRow;

        if (! loop.isSet())
        {
            if (edited)
            {
                g.setColour (themeColour (*this, "theme.marker").withAlpha (0.5f));
                g.drawRect (bounds.withLeft (xOf (0)).withRight (xOf (length)), 1.0f);
            }

            continue;
        }

        // The region itself, and the repetitions after it drawn as a shade.
        const auto region = bounds.withLeft (xOf (loop.start)).withRight (xOf (loop.end));
        g.setColour (themeColour (*this, "theme.marker").withAlpha (edited ? 0.22f : 0.12f));
        g.fillRect (region);
        g.setColour (themeColour (*this, "background.background").withAlpha (0.35f));
        g.fillRect (bounds.withLeft (region.getRight()).withRight (xOf (length)));

        g.setColour (themeColour (*this, "theme.marker").withAlpha (showHandles ? 1.0f : 0.6f));
        const auto handle = showHandles ? 3.0f : 1.5f;
        g.fillRect (region.withWidth (handle));
        g.fillRect (region.withLeft (region.getRight() - handle));
    }
}

void NoteEditor::paintNotes (juce::Graphics& g, juce::Rectangle<int> clip) const
{
    const auto& notes = phrase().notes;
    const auto& selection = document.getSelection();
    const auto clipArea = clip.toFloat().expanded (2.0f);
    const auto noteColour = themeColour (*this, "theme.primary");
    // Selected notes: a tint of the accent, outlined; red would read as an error.
    const auto selectedColour = themeColour (*this, "theme.selection");
    const auto outline = themeColour (*this, "text.textOnTheme");
    const auto litColour = themeColour (*this, "text.highlightedtext");
    const auto length = phrase().getLength();

    // Notes a row loop repeats are drawn again, faint, where playback repeats them; the
    // repetition that sounds now lights up as the note itself would.
    for (int row = 0; row < std::min ((int) rows.size(), Sequence::numRows); ++row)
    {
        const auto& loop = phrase().loops[(size_t) row];

        if (! loop.isSet() || ! clipArea.intersects (rowBounds (row)))
            continue;

        const auto period = loop.end - loop.start;

        for (const auto& note : notes)
        {
            if (note.number != row || note.timestamp < loop.start || note.timestamp >= loop.end)
                continue;

            const auto lit = litRepetitionOf (note);

            for (auto start = note.timestamp + period; start < length && xOf (start) <= clipArea.getRight(); start += period)
            {
                auto copy = note;
                copy.timestamp = start;
                copy.length = std::min (note.length, length - start);
                const auto bounds = getNoteBounds (copy);

                if (start == lit)
                {
                    g.setColour (noteColour.interpolatedWith (litColour, 0.45f).withAlpha (0.75f));
                    g.fillRect (bounds);
                }

                g.setColour (noteColour.withAlpha (0.3f));
                g.drawRect (bounds, 1.0f);
            }
        }
    }

    for (size_t i = 0; i < notes.size(); ++i)
    {
        const auto& note = notes[i];

        if (note.number < 0 || note.number >= (int) rows.size())
            continue;

        const auto bounds = getNoteBounds (note);

        if (! clipArea.intersects (bounds))
            continue;

        const auto isSelected = selection.contains ((int) i);
        const auto& loop = phrase().loops[(size_t) juce::jlimit (0, Sequence::numRows - 1, note.number)];
        const auto silenced = loop.isSet() && note.timestamp >= loop.end; // the loop's repetitions play instead
        const auto muted = rows[(size_t) note.number].muted;

        auto fill = isSelected ? selectedColour : noteColour;

        if (isLit (note))
            fill = fill.interpolatedWith (litColour, 0.45f);

        if (silenced || muted)
            fill = fill.withMultipliedAlpha (0.35f);

        // The velocity as a level rising from the note's foot: solid up to the lowest
        // velocity it plays, the rest of the note a faint body so quiet notes still show
        // their length; the band up to the highest of a range is the body drawn twice.
        // Two or three plain rectangles on whole pixels: thousands of notes are painted at
        // once, and rounded or anti-aliased edges cost several times as much to fill.
        // What lies past the phrase end never plays: it is drawn faint, so it can be found
        // and deleted.
        const auto endX = xOf (length);
        const auto playing = bounds.withRight (std::max (bounds.getX(), std::min (bounds.getRight(), endX)));
        const auto levelY = [&playing] (int velocity)
        { return std::round (playing.getBottom() - playing.getHeight() * (float) juce::jlimit (1, 127, velocity) / 127.0f); };
        const auto solidTop = levelY (std::min (note.velocityMin, note.velocityMax));
        const auto rangeTop = levelY (std::max (note.velocityMin, note.velocityMax));
        const auto body = fill.withMultipliedAlpha (0.4f);

        g.setColour (body);
        g.fillRect (playing.withBottom (solidTop));
        if (rangeTop < solidTop)
            g.fillRect (playing.withTop (rangeTop).withBottom (solidTop));
        g.setColour (fill);
        g.fillRect (playing.withTop (solidTop));

        if (bounds.getRight() > endX)
        {
            g.setColour (fill.withMultipliedAlpha (0.3f));
            g.fillRect (bounds.withLeft (std::max (bounds.getX(), endX)));
        }

        if (isSelected)
        {
            g.setColour (outline);
            g.drawRect (bounds, 1.0f);
        }

        // Repeats: a tick where each further strike falls.
        if (note.repeatStyle != SequenceNote::noRepeats && bounds.getWidth() > 6.0f)
        {
            g.setColour (outline.withAlpha (0.7f));
            const auto strike = [&] (double offset)
            { g.fillRect (xOf (note.timestamp + offset), bounds.getY() + 2.0f, 1.0f, bounds.getHeight() - 4.0f); };

            if (note.repeatStyle == SequenceNote::repeatAtRate && note.repeatRate.ticks > 0)
                for (auto offset = note.repeatRate.ticks; offset < note.length && offset < 64 * note.repeatRate.ticks; offset += note.repeatRate.ticks)
                    strike (offset);
            else if (note.repeatStyle == SequenceNote::repeatCountTimes && note.repeatCount > 1)
                for (int strikeIndex = 1; strikeIndex < std::min (note.repeatCount, 16); ++strikeIndex)
                    strike ((double) note.length * strikeIndex / note.repeatCount);
        }
    }
}

void NoteEditor::paintPlayhead (juce::Graphics& g) const
{
    if (playback.playheadTick < 0.0)
        return;

    const auto x = xOf (playback.playheadTick);
    g.setColour (themeColour (*this, "text.highlightedtext").withAlpha (playback.isPlaying ? 0.9f : 0.4f));
    g.fillRect (x - 0.5f, 0.0f, 1.5f, (float) getHeight());
}

} // namespace tarn

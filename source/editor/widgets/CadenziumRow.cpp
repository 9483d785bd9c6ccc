#include "CadenziumRow.h"

#include "RowColours.h"

#include <tarn/gui/Theme.h>

namespace
{
bool isVisibleOn (juce::Colour colour, juce::Colour background)
{
    const auto luminance = [] (juce::Colour c)
    {
        const auto channel = [] (float v)
        { return v <= 0.03928f ? v / 12.92f : std::pow ((v + 0.055f) / 1.055f, 2.4f); };
        return 0.2126f * channel (c.getFloatRed()) + 0.7152f * channel (c.getFloatGreen()) + 0.0722f * channel (c.getFloatBlue());
    };
    const auto a = luminance (colour), b = luminance (background);
    return (std::max (a, b) + 0.05f) / (std::min (a, b) + 0.05f) >= 1.6f;
}
} // namespace

CadenziumRow::CadenziumRow (int rowIndex) : index (rowIndex)
{
    setComponentID ("row_" + juce::String (rowIndex));
    setTooltip (tooltip);
}

void CadenziumRow::show (const CadenziumModifier& row)
{
    if (row == shown)
        return;

    shown = row;
    repaint();
}

void CadenziumRow::setResolvedNotes (const juce::String& notes)
{
    if (notes != resolvedNotes)
    {
        resolvedNotes = notes;
        repaint();
    }
}

juce::StringArray CadenziumRow::shiftBadges (const CadenziumModifier& row)
{
    const auto signedText = [] (int value)
    { return (value > 0 ? "+" : "") + juce::String (value); };

    juce::StringArray badges;
    if (row.octave != 0)
        badges.add (signedText (row.octave) + " oct");
    if (row.transpose != 0)
        badges.add (signedText (row.transpose) + " st");
    return badges;
}

void CadenziumRow::setSounding (bool isSounding)
{
    if (sounding != isSounding)
    {
        sounding = isSounding;
        repaint();
    }
}

void CadenziumRow::setDragging (bool isDragging)
{
    if (dragging != isDragging)
    {
        dragging = isDragging;
        repaint();
    }
}

juce::Colour CadenziumRow::getRowColour() const
{
    return RowColours::resolve (shown.colour, *this);
}

void CadenziumRow::paint (juce::Graphics& g)
{
    auto area = getLocalBounds().toFloat();
    const auto corner = tarn::themeMetric (*this, "cornerRadius", 2.5f);
    const auto colour = getRowColour();

    // Alternate shading follows the grid's rows so the two read as one.
    auto background = tarn::themeColour (*this, index % 2 == 0 ? "pianoroll.whiterow" : "pianoroll.blackrow");
    if (sounding)
    {
        // A row lights in its own colour; one close to the shading (black on a dark theme,
        // white on the light one) would not show, so it lights in the accent instead.
        const auto light = isVisibleOn (colour, background) ? colour : tarn::themeColour (*this, "theme.primary");
        background = background.interpolatedWith (light, 0.35f);
    }
    if (dragging)
        background = background.brighter (0.2f);

    g.setColour (background);
    g.fillRect (area);
    g.setColour (tarn::themeColour (*this, "elements.elementborder"));
    g.drawHorizontalLine (getHeight() - 1, 0.0f, area.getRight());

    const auto stripWidth = std::max (3.0f, corner * 1.6f);
    g.setColour (shown.muted ? colour.withMultipliedSaturation (0.2f).withMultipliedBrightness (0.6f) : colour);
    g.fillRect (area.removeFromLeft (stripWidth).reduced (0.0f, 1.0f));

    const auto padding = tarn::themeMetric (*this, "comboTextPadding", 10.0f) / 2.0f;
    area.removeFromLeft (padding);
    area.removeFromRight (padding);

    const auto fontHeight = std::min (tarn::themeFont (*this).getHeight(), area.getHeight() * 0.8f);
    const auto font = tarn::themeFont (*this).withHeight (fontHeight);
    const auto badgeSize = std::min (area.getHeight() * 0.7f, fontHeight);

    // Badges on the right: M for muted, a padlock for a row generation leaves alone.
    auto drawBadge = [&] (const juce::String& text)
    {
        auto badge = area.removeFromRight (badgeSize * 1.3f).withSizeKeepingCentre (badgeSize * 1.2f, badgeSize);
        g.setColour (tarn::themeColour (*this, "theme.warning"));
        g.fillRoundedRectangle (badge, corner);
        g.setColour (tarn::themeColour (*this, "text.textOnTheme"));
        g.setFont (font.withHeight (badgeSize * 0.8f));
        g.drawText (text, badge, juce::Justification::centred, false);
        area.removeFromRight (padding / 2.0f);
    };

    if (shown.muted)
        drawBadge ("M");

    if (shown.generationLock)
    {
        auto lock = area.removeFromRight (badgeSize * 1.3f).withSizeKeepingCentre (badgeSize * 0.8f, badgeSize);
        juce::Path shackle;
        shackle.addCentredArc (lock.getCentreX(), lock.getY() + lock.getHeight() * 0.4f, lock.getWidth() * 0.3f, lock.getHeight() * 0.3f,
                               0.0f, -juce::MathConstants<float>::halfPi, juce::MathConstants<float>::halfPi, true);
        g.setColour (tarn::themeColour (*this, "text.text"));
        g.strokePath (shackle, juce::PathStrokeType (1.5f));
        g.fillRoundedRectangle (lock.withTop (lock.getY() + lock.getHeight() * 0.45f), 1.5f);
        area.removeFromRight (padding / 2.0f);
    }

    // The shift as outlined badges, so "Lowest" an octave up differs from "Lowest" at a glance.
    for (const auto& text : shiftBadges (shown))
    {
        const auto badgeFont = font.withHeight (badgeSize * 0.8f);
        const auto width = badgeFont.getStringWidthFloat (text) + badgeSize * 0.6f;
        if (width > area.getWidth() * 0.4f)
            break;

        auto badge = area.removeFromRight (width).withSizeKeepingCentre (width, badgeSize);
        g.setColour (tarn::themeColour (*this, "text.text").withMultipliedAlpha (0.7f));
        g.drawRoundedRectangle (badge.reduced (0.5f), corner, 1.0f);
        g.setFont (badgeFont);
        g.drawText (text, badge, juce::Justification::centred, false);
        area.removeFromRight (padding / 2.0f);
    }

    const auto label = shown.getLabel();
    g.setColour (tarn::themeColour (*this, shown.muted ? "text.disabledtext" : "text.text"));
    g.setFont (font);

    if (resolvedNotes.isEmpty())
    {
        g.drawFittedText (label, area.toNearestInt(), juce::Justification::centredLeft, 1, 0.7f);
        return;
    }

    // "Lowest · C3": the label, then what it plays from the held chord, fainter.
    const auto labelWidth = std::min (font.getStringWidthFloat (label) + 1.0f, area.getWidth() * 0.6f);
    g.drawFittedText (label, area.removeFromLeft (labelWidth).toNearestInt(), juce::Justification::centredLeft, 1, 0.7f);
    g.setColour (tarn::themeColour (*this, "text.text").withMultipliedAlpha (shown.muted ? 0.4f : 0.7f));
    g.drawText (juce::String (juce::CharPointer_UTF8 (" \xc2\xb7 ")) + resolvedNotes, area, juce::Justification::centredLeft, true);
}

#include "PresetDisplay.h"

#include "BrowserMetrics.h"

namespace tarn
{

PresetDisplay::PresetDisplay()
{
    setComponentID ("preset_display");
    setInterceptsMouseClicks (false, false);
}

PresetDisplay::~PresetDisplay() = default;

void PresetDisplay::setPreset (std::optional<PresetInfo> newPreset)
{
    if (newPreset == preset)
        return;

    preset = std::move (newPreset);
    repaint();
}

void PresetDisplay::paint (juce::Graphics& g)
{
    const auto bounds = getLocalBounds().toFloat();
    const auto corner = themeMetric (*this, "cornerRadius", 2.5f);
    g.setColour (themeColour (*this, "background.panel"));
    g.fillRoundedRectangle (bounds, corner);
    g.setColour (themeColour (*this, "elements.elementborder"));
    g.drawRoundedRectangle (bounds.reduced (0.5f), corner, 1.0f);

    const auto pad = BrowserMetrics::gap (*this) * 2;
    auto area = getLocalBounds().reduced (pad);
    const auto text = themeColour (*this, "text.text");
    const auto quiet = themeColour (*this, "text.disabledtext");

    if (! preset.has_value())
    {
        g.setColour (quiet);
        g.setFont (themeFont (*this));
        g.drawFittedText ("Select a preset to see its details", area, juce::Justification::centred, 3);
        return;
    }

    const auto titleFont = themeFont (*this, 13.0f);
    g.setColour (themeColour (*this, "text.highlightedtext"));
    g.setFont (titleFont);
    g.drawFittedText (preset->name, area.removeFromTop (juce::roundToInt (titleFont.getHeight() * 1.3f)), juce::Justification::centredLeft, 1);

    const auto labelFont = themeFont (*this, 7.5f);
    const auto bodyFont = themeFont (*this);
    g.setColour (themeColour (*this, "theme.primary"));
    g.setFont (labelFont);
    g.drawText (preset->isFactory ? "Factory preset" : "User preset", area.removeFromTop (juce::roundToInt (labelFont.getHeight() * 1.4f)),
                juce::Justification::centredLeft, true);
    area.removeFromTop (pad / 2);

    auto field = [&] (const juce::String& label, const juce::String& value, int maxLines)
    {
        if (area.getHeight() <= 0)
            return;

        g.setColour (quiet);
        g.setFont (labelFont);
        g.drawText (label, area.removeFromTop (juce::roundToInt (labelFont.getHeight() * 1.3f)), juce::Justification::centredLeft, true);

        g.setColour (text);
        g.setFont (bodyFont);
        const auto shown = value.isNotEmpty() ? value : juce::String (juce::CharPointer_UTF8 ("\xe2\x80\x94"));
        juce::AttributedString attributed;
        attributed.append (shown, bodyFont, text);
        attributed.setWordWrap (juce::AttributedString::byWord);
        juce::TextLayout layout;
        layout.createLayout (attributed, (float) area.getWidth());
        const auto lines = juce::jmin (maxLines, juce::jmax (1, layout.getNumLines()));
        const auto height = juce::jmin (area.getHeight(), juce::roundToInt (bodyFont.getHeight() * 1.2f * (float) lines));
        g.drawFittedText (shown, area.removeFromTop (height), juce::Justification::topLeft, lines, 1.0f);
        area.removeFromTop (pad / 2);
    };

    field ("Author", preset->author, 1);
    field ("Categories", preset->categories.joinIntoString (", "), 3);
    field ("Description", preset->description, 12);
}

} // namespace tarn

// The product's three colour schemes: every colour and metric the window's code asks its theme
// for is in each (a missing one would be painted in the loud fallback colour, or sized by a
// guess, and logged every time a window opens), and what is drawn on what stays readable.

#include <tarn/gui/TarnLibLookAndFeel.h>
#include <tests/tarn/CapturingLogger.h>

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <set>

namespace
{
/** The colour groups of the product's themes: a text literal "group.name" with one of them
    is a colour path wherever it stands (a call, a table, a choice between two). */
const std::regex colourPathLiteral (R"re("((?:theme|background|text|elements|slider|scrollbar|pianoroll|rows)\.[A-Za-z]+[0-9]*)")re");

/** The name given to a metric lookup: the literal the call names, after the component
    it asks for (themeMetric) or first (the look-and-feel's getMetric). */
const std::regex metricCall (R"re((?:themeMetric\s*\([^,;()]*,|getMetric\s*\()\s*"([A-Za-z]+)")re");

struct ThemeNames
{
    std::set<std::string> colours, metrics;
};

ThemeNames namesAskedForIn (const juce::StringArray& folders)
{
    ThemeNames names;
    const juce::File root (CADENZIUM_SOURCE_ROOT);

    for (const auto& folder : folders)
        for (const auto& file : root.getChildFile (folder).findChildFiles (juce::File::findFiles, true, "*.cpp;*.h"))
        {
            const auto code = file.loadFileAsString().toStdString();

            for (std::sregex_iterator it (code.begin(), code.end(), colourPathLiteral), end; it != end; ++it)
                names.colours.insert ((*it)[1]);

            for (std::sregex_iterator call (code.begin(), code.end(), metricCall), end; call != end; ++call)
                names.metrics.insert ((*call)[1]);
        }

    return names;
}
} // namespace

TEST (ProductSchemes, everyColourAndMetricTheWindowAsksForIsInEachProductScheme)
{
    auto names = namesAskedForIn ({ "tarn/gui", "brindlex/gui", "source/editor" });
    ASSERT_GT (names.colours.size(), 20u) << "the scan found the code";
    ASSERT_GT (names.metrics.size(), 15u);

    // The row palette is asked for by number.
    ASSERT_EQ (names.colours.erase ("rows.colour"), 1u);
    for (int entry = 0; entry < 8; ++entry)
        names.colours.insert ("rows.colour" + std::to_string (entry));

    for (auto scheme : { 3, 4, 5 })
    {
        SCOPED_TRACE ("scheme " + std::to_string (scheme));
        tarn::TarnLibLookAndFeel lookAndFeel (scheme);
        cadenzium::test::CapturingLogger log;

        for (const auto& path : names.colours)
        {
            EXPECT_TRUE (lookAndFeel.hasThemeColour (path)) << path;
            lookAndFeel.getThemeColour (path);
        }

        for (const auto& metric : names.metrics)
            lookAndFeel.getMetric (metric);

        EXPECT_EQ (log.lines, juce::StringArray()) << log.lines.joinIntoString ("\n");
    }
}

namespace
{
/** The relative luminance of a colour on a screen: each channel made linear, then weighted
    by how bright the eye finds it. */
double luminanceOf (juce::Colour colour)
{
    const auto linear = [] (juce::uint8 channel)
    {
        const auto value = channel / 255.0;
        return value <= 0.04045 ? value / 12.92 : std::pow ((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear (colour.getRed()) + 0.7152 * linear (colour.getGreen()) + 0.0722 * linear (colour.getBlue());
}

/** How far apart two colours read, from 1 (the same) to 21 (black on white); a translucent
    colour counts as drawn over the other. */
double contrastBetween (juce::Colour front, juce::Colour back)
{
    const auto a = luminanceOf (back.overlaidWith (front)), b = luminanceOf (back);
    return (std::max (a, b) + 0.05) / (std::min (a, b) + 0.05);
}
} // namespace

TEST (ProductSchemes, textReadsAtFourAndAHalfToOneAndControlOutlinesAndTracksAtThreeToOne)
{
    constexpr double text = 4.5, control = 3.0;

    struct Pair
    {
        const char *front, *back;
        double least;
    };

    const Pair pairs[] = {
        // Labels, values and captions on the panels, the window and inside boxes and buttons.
        { "text.text", "background.panel", text },
        { "text.text", "background.background", text },
        { "text.text", "elements.element", text },
        { "text.secondarytext", "background.panel", text },
        { "text.secondarytext", "elements.element", text },
        { "text.pluginName", "background.panel", text },
        { "text.textOnTheme", "theme.primary", text },
        { "text.highlightedtext", "background.panel", text },
        { "theme.warning", "background.panel", text },
        { "theme.warning", "elements.element", text },
        // A control at rest: an off switch's and a box's outline, a slider's empty and
        // filled track, a scroll bar's thumb, on the panel and on the window behind it.
        { "elements.outline", "background.panel", control },
        { "elements.outline", "background.background", control },
        { "slider.trackbackground", "background.panel", control },
        { "slider.track", "background.panel", control },
        { "scrollbar.thumb", "background.panel", control },
        { "scrollbar.thumb", "background.background", control },
        // The note grid: selection, keyswitch bar and loops on both row shades.
        { "theme.selection", "pianoroll.whiterow", control },
        { "theme.selection", "pianoroll.blackrow", control },
        { "theme.marker", "pianoroll.whiterow", control },
        { "theme.marker", "pianoroll.blackrow", control },
    };

    for (auto scheme : { 3, 4, 5 })
    {
        tarn::TarnLibLookAndFeel lookAndFeel (scheme);
        const auto name = lookAndFeel.getThemeDocument()["name"].toString();

        for (const auto& pair : pairs)
            EXPECT_GE (contrastBetween (lookAndFeel.getThemeColour (pair.front), lookAndFeel.getThemeColour (pair.back)), pair.least)
                << name << ": " << pair.front << " on " << pair.back;

        // The framework's own pairs: a tool tip on its background (made from the panel's), a
        // menu's chosen item on the accent.
        const std::pair<int, int> frameworkPairs[] = {
            { juce::TooltipWindow::textColourId, juce::TooltipWindow::backgroundColourId },
            { juce::PopupMenu::textColourId, juce::PopupMenu::backgroundColourId },
            { juce::PopupMenu::highlightedTextColourId, juce::PopupMenu::highlightedBackgroundColourId },
            { juce::ComboBox::textColourId, juce::ComboBox::backgroundColourId },
            { juce::TextEditor::textColourId, juce::TextEditor::backgroundColourId },
        };

        for (const auto& [front, back] : frameworkPairs)
            EXPECT_GE (contrastBetween (lookAndFeel.findColour (front), lookAndFeel.findColour (back)), text)
                << name << ": colour " << std::hex << front << " on " << back;

        EXPECT_GE (contrastBetween (lookAndFeel.findColour (juce::ComboBox::outlineColourId), lookAndFeel.getThemeColour ("background.panel")),
                   control)
            << name << ": a combo box's outline";
    }
}

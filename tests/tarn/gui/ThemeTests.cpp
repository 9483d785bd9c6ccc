#include <tarn/gui/TarnLibLookAndFeel.h>
#include <tarn/gui/Theme.h>
#include <tarn/gui/ThemeSelector.h>
#include <tests/tarn/CapturingLogger.h>

#include <gtest/gtest.h>

namespace tarn
{
namespace
{
    using cadenzium::test::CapturingLogger;

    juce::var parse (const char* json) { return juce::JSON::parse (juce::String (json)); }

    struct CountingListener : juce::ChangeListener
    {
        void changeListenerCallback (juce::ChangeBroadcaster*) override { ++changes; }
        int changes = 0;
    };

    int countPixels (const juce::Image& image, juce::Colour colour)
    {
        int count = 0;

        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                if (image.getPixelAt (x, y) == colour)
                    ++count;

        return count;
    }
} // namespace

TEST (TarnLibLookAndFeel, schemeNumbersPickTheirDocumentsAndUnknownOnesTheClassicOne)
{
    const std::pair<int, const char*> schemes[] = {
        { 0, "Classic" }, { 1, "Quorvel" }, { 2, "Vantor" }, { 3, "CadenziumClassic" },
        { 4, "CadenziumDark" }, { 5, "CadenziumLight" }, { 7, "Classic" }, { -1, "Classic" }
    };

    for (const auto& [scheme, name] : schemes)
    {
        TarnLibLookAndFeel lookAndFeel (scheme);
        EXPECT_EQ (lookAndFeel.getThemeDocument()["name"].toString(), name) << scheme;
    }

    EXPECT_EQ (TarnLibLookAndFeel::getThemeResourceName (7), "Classic.json");

    TarnLibLookAndFeel switching (4);
    EXPECT_FALSE (switching.setColourSchemeNumber (4));
    EXPECT_TRUE (switching.setColourSchemeNumber (5));
    EXPECT_EQ (switching.getThemeColour ("background.background"), juce::Colour (0xffe1e1e1));
    EXPECT_EQ (switching.findColour (juce::ResizableWindow::backgroundColourId), juce::Colour (0xffe1e1e1))
        << "the framework's components follow the scheme";
}

TEST (TarnLibLookAndFeel, missingColoursAreLoggedWithTheirExactMessagesAndGetTheFallback)
{
    const auto fallback = TarnLibLookAndFeel::getFallbackColour();
    TarnLibLookAndFeel lookAndFeel (4);

    // (theme document, colour asked for, what the log says)
    const std::tuple<const char*, const char*, const char*> cases[] = {
        { R"({ "variables": { "a": "111111" } })", "theme.primary", "Unable to find the theme colours section in theme file" },
        { R"({ "colours": { "slider": { "knob": "222222" } } })", "slider.handle", "Unable to find the colour 'handle' in theme file" },
        { R"({ "colours": { "slider": { "knob": "222222" } } })", "meter.peak", "Unable to find the  colour 'meter.peak' section in theme file" },
        { R"({ "colours": { "text": { "text": "$text" } } })", "text.text", "Unable to find the theme variables section in theme file" },
        { R"({ "variables": { "a": "111111" }, "colours": { "text": { "text": "$ink darker 0.2" } } })", "text.text", "Unable to find variable 'ink' in theme file" },
        { R"({ "colours": { "g": { "broken": "12345" } } })", "g.broken", "Unable to read the colour '12345' in theme file" },
    };

    for (const auto& [document, path, message] : cases)
    {
        SCOPED_TRACE (path);
        CapturingLogger log;
        lookAndFeel.loadThemeDocument (parse (document));

        EXPECT_EQ (lookAndFeel.getThemeColour (path), fallback);
        EXPECT_TRUE (log.lines.contains (message)) << log.lines.joinIntoString ("\n");

        // Painting asks again and again: the log gets the problem once.
        const auto lines = log.lines.size();
        EXPECT_EQ (lookAndFeel.getThemeColour (path), fallback);
        EXPECT_EQ (log.lines.size(), lines);
    }
}

TEST (TarnLibLookAndFeel, colourTextTakesHexInEitherCaseAndVariablesWithTheirAdjustments)
{
    TarnLibLookAndFeel lookAndFeel;
    lookAndFeel.loadThemeDocument (parse (R"({
        "variables": { "base": "4080C0" },
        "colours": { "g": { "upper": "A0B0C0", "lower": "a0b0c0", "plain": "$base",
                            "lighter": "$base brighter 0.5", "deeper": "$base darker 1.0" } } })"));

    EXPECT_EQ (lookAndFeel.getThemeColour ("g.upper"), juce::Colour (0xffa0b0c0));
    EXPECT_EQ (lookAndFeel.getThemeColour ("g.lower"), juce::Colour (0xffa0b0c0));
    EXPECT_EQ (lookAndFeel.getThemeColour ("g.plain"), juce::Colour (0xff4080c0));
    EXPECT_EQ (lookAndFeel.getThemeColour ("g.lighter"), juce::Colour (0xff4080c0).brighter (0.5f));
    EXPECT_EQ (lookAndFeel.getThemeColour ("g.deeper"), juce::Colour (0xff4080c0).darker (1.0f));
}

TEST (TarnLibLookAndFeel, theBundledFontIsFoundItsHeightsClampedAndADescentOverrideMovesOnlyTheBaseline)
{
    TarnLibLookAndFeel dark (4);
    EXPECT_EQ (dark.getThemeFont (10.0f).getTypefaceName(), "Nunito") << "not a fallback font";
    EXPECT_FLOAT_EQ (dark.getThemeFont (0.01f).getHeight(), 0.1f);
    EXPECT_FLOAT_EQ (dark.getThemeFont (1.0e6f).getHeight(), 10000.0f);

    TarnLibLookAndFeel plain;
    plain.loadThemeDocument (parse (R"({ "colours": {} })"));
    EXPECT_FLOAT_EQ (plain.getThemeFont (10.0f).getHeight(), 16.0f) << "scale 1.6 by default";
    EXPECT_FLOAT_EQ (plain.getThemeFont (10.0f).getExtraKerningFactor(), -0.027f);

    // A descent override moves the baseline and keeps the glyphs.
    TarnLibLookAndFeel lookAndFeel;
    lookAndFeel.loadThemeDocument (parse (R"({ "font": { "name": "Nunito", "family": "SemiBold", "scale": 1.0 } })"));
    const auto unmoved = lookAndFeel.getThemeFont (20.0f);

    lookAndFeel.loadThemeDocument (parse (R"({ "font": { "name": "Nunito", "family": "SemiBold", "scale": 1.0, "descentOverride": 0.4 } })"));
    const auto moved = lookAndFeel.getThemeFont (20.0f);

    EXPECT_NEAR (moved.getDescent(), 8.0f, 0.01f);
    EXPECT_NEAR (moved.getAscent(), 12.0f, 0.01f);
    EXPECT_NE (unmoved.getDescent(), moved.getDescent());
    EXPECT_FLOAT_EQ (unmoved.getStringWidthFloat ("Warm Pad"), moved.getStringWidthFloat ("Warm Pad"));

    lookAndFeel.loadThemeDocument (parse (R"({ "font": { "name": "Nunito", "family": "SemiBold", "scale": 1.0, "descentOverride": -1 } })"));
    EXPECT_FLOAT_EQ (lookAndFeel.getThemeFont (20.0f).getDescent(), unmoved.getDescent()) << "-1 means none";
}

TEST (TarnLibLookAndFeel, libraryMetricsResetToTheirDefaultsAndTakeOnlyWhatAThemeGives)
{
    TarnLibLookAndFeel lookAndFeel (4);
    lookAndFeel.loadThemeDocument (parse (R"({ "tarnlib": { "metrics": { "layouts": { "panelPadding": 12, "topBarButtonWidth": 40 },
                                                                          "plots": { "spectrumAnalyserPixelGroupSize": 3 } } } })"));
    const auto& metrics = lookAndFeel.getLibraryMetrics();

    EXPECT_EQ (metrics.panelPadding, 12);
    EXPECT_EQ (metrics.topBarButtonWidth, 40);
    EXPECT_EQ (metrics.spectrumAnalyserPixelGroupSize, 3);
    EXPECT_EQ (metrics.defaultButtonHeight, LibraryMetrics().defaultButtonHeight);
    EXPECT_EQ (metrics.topBarIconPadding, LibraryMetrics().topBarIconPadding);

    CapturingLogger log;
    EXPECT_FLOAT_EQ (lookAndFeel.getMetric ("knobDotSize", 7.0f), 7.0f);
    EXPECT_EQ (log.lines, juce::StringArray ("Unable to find the metric 'knobDotSize' in theme file"));
}

TEST (ThemeSelector, aSchemeChangeReachesEveryListenerOnceAndTheDefaultLookAndFeel)
{
    auto& selector = *ThemeSelector::getInstance();
    selector.setColourSchemeNumber (4);

    CountingListener first, second;
    selector.addChangeListener (&first);
    selector.addChangeListener (&second);

    selector.setColourSchemeNumber (5);
    selector.setColourSchemeNumber (5);

    EXPECT_EQ (first.changes, 1);
    EXPECT_EQ (second.changes, 1);
    EXPECT_EQ (selector.getDefaultLookAndFeel().getColourSchemeNumber(), 5);

    selector.removeChangeListener (&first);
    selector.removeChangeListener (&second);
}

TEST (Theme, componentsReachTheirOwnLookAndFeelOrTheProcessDefault)
{
    ThemeSelector::getInstance()->setColourSchemeNumber (3);

    juce::Component parent, child, stranger;
    parent.addAndMakeVisible (child);
    TarnLibLookAndFeel light (5);
    parent.setLookAndFeel (&light);

    EXPECT_EQ (themeColour (child, "background.background"), juce::Colour (0xffe1e1e1)) << "inherited from the parent";
    EXPECT_EQ (themeColour (stranger, "background.background"), juce::Colour (0xff141516)) << "the selector's scheme";
    EXPECT_FLOAT_EQ (themeMetric (child, "topBarHeight"), 50.0f);
    EXPECT_FLOAT_EQ (themeMetric (child, "noSuchMetric", 4.0f), 4.0f);
    EXPECT_EQ (themeLibraryMetrics (child).topBarButtonHeight, 30);
    EXPECT_FLOAT_EQ (themeFont (child, 10.0f).getHeight(), 17.0f);

    juce::Component plainLookAndFeel;
    juce::LookAndFeel_V4 foreign;
    plainLookAndFeel.setLookAndFeel (&foreign);
    EXPECT_EQ (themeColour (plainLookAndFeel, "background.background"), juce::Colour (0xff141516));
    plainLookAndFeel.setLookAndFeel (nullptr);

    // Icons take their colour from the path, through the same look-and-feel.
    auto icon = themeIcon (child, "cog", "theme.primary");
    ASSERT_NE (icon, nullptr);
    juce::Image image (juce::Image::ARGB, 24, 24, true);
    {
        juce::Graphics g (image);
        icon->drawWithin (g, { 0.0f, 0.0f, 24.0f, 24.0f }, juce::RectanglePlacement::centred, 1.0f);
    }
    EXPECT_GT (countPixels (image, themeColour (child, "theme.primary")), 10);

    parent.setLookAndFeel (nullptr);
}

} // namespace tarn

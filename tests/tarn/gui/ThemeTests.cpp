#include <tarn/gui/Theme.h>
#include <tarn/gui/ThemeSelector.h>

#include <gtest/gtest.h>

namespace tarn
{
namespace
{
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

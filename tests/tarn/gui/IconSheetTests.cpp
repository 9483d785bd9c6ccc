#include <tarn/gui/Icons.h>
#include <tests/support/editor/EditorWindow.h>

#include <gtest/gtest.h>

namespace tarn
{

TEST (IconSheet, everyIconFillsItsCellCentredInTheColourAskedForAndIsKeptOnASheet)
{
    ASSERT_EQ (Icons::getNames().size(), 32);
    EXPECT_EQ (Icons::create ("trumpet", juce::Colours::red), nullptr);
    EXPECT_EQ (Icons::create ("Classic.json", juce::Colours::red), nullptr);
    constexpr int cell = 64, columns = 8;
    const auto& names = Icons::getNames();
    juce::Image sheet (juce::Image::RGB, cell * columns, cell * ((names.size() + columns - 1) / columns), true);
    juce::Graphics g (sheet);
    g.fillAll (juce::Colour (0xff181818));

    for (int i = 0; i < names.size(); ++i)
    {
        SCOPED_TRACE (names[i].toStdString());
        const auto area = juce::Rectangle<int> ((i % columns) * cell, (i / columns) * cell, cell, cell);
        juce::Image single (juce::Image::ARGB, cell, cell, true);
        {
            juce::Graphics ig (single);
            Icons::create (names[i], juce::Colour (0xffcccccc))
                ->drawWithin (ig, juce::Rectangle<float> (8.0f, 8.0f, 48.0f, 48.0f), juce::RectanglePlacement::centred, 1.0f);
        }

        juce::Rectangle<int> inked;
        int inColour = 0, black = 0;

        for (int y = 0; y < cell; ++y)
            for (int x = 0; x < cell; ++x)
            {
                const auto pixel = single.getPixelAt (x, y);
                inColour += pixel == juce::Colour (0xffcccccc) ? 1 : 0;
                black += pixel == juce::Colours::black ? 1 : 0;

                if (pixel.getAlpha() > 128)
                    inked = inked.isEmpty() ? juce::Rectangle<int> (x, y, 1, 1) : inked.getUnion ({ x, y, 1, 1 });
            }

        EXPECT_GT (inColour, 20) << "solid pixels in the colour asked for";
        EXPECT_EQ (black, 0) << "no black left";

        // Drawn on the 24-unit grid with a margin: large, and near the middle of the cell.
        EXPECT_GE (juce::jmax (inked.getWidth(), inked.getHeight()), 28);
        EXPECT_LE (std::abs (inked.getCentreX() - cell / 2), 8);
        EXPECT_LE (std::abs (inked.getCentreY() - cell / 2), 8);

        g.drawImageAt (single, area.getX(), area.getY());
    }

    const auto file = cadenzium::test::EditorWindow::artefactsFolder().getChildFile ("icons.png");
    file.getParentDirectory().createDirectory();
    file.deleteFile();
    juce::FileOutputStream stream (file);
    EXPECT_TRUE (juce::PNGImageFormat().writeImageToStream (sheet, stream));
}

} // namespace tarn

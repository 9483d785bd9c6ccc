#pragma once

namespace tarn
{

/** The library's own sizes, in pixels: a theme's "tarnlib" → "metrics" section overrides
    them key by key, and a key it leaves out keeps its built-in value. */
struct LibraryMetrics
{
    // "plots"
    int spectrumAnalyserPixelGroupSize = 1;

    // "layouts"
    int defaultButtonHeight = 25;
    int defaultButtonWidth = 25;
    int iconButtonPadding = 6;
    int topBarButtonHeight = 30;
    int topBarButtonWidth = 35;
    int topBarIconPadding = 8;
    int panelPadding = 20;
};

} // namespace tarn

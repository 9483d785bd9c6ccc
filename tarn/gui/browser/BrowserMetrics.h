#pragma once

#include <tarn/gui/Theme.h>

namespace tarn::BrowserMetrics
{
/** The preset browser's sizes, all taken from the theme: rows fit the theme's text with
    room around it, gaps are a share of the panel padding. [message thread] */

inline int rowHeight (const juce::Component& c)
{
    return juce::roundToInt (themeFont (c).getHeight() * 1.7f);
}

inline int gap (const juce::Component& c)
{
    return juce::jmax (4, themeLibraryMetrics (c).panelPadding / 2);
}

inline int controlHeight (const juce::Component& c)
{
    return themeLibraryMetrics (c).defaultButtonHeight;
}
} // namespace tarn::BrowserMetrics

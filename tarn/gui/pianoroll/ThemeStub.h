#pragma once

// TEMPORARY stand-in for tarn/gui/Theme.h while the look-and-feel is being built elsewhere:
// the same three lookups and the icon lookup, answered with the dark scheme's values. This
// file is deleted when the real theme arrives; nothing outside the piano roll includes it.

#include <juce_gui_basics/juce_gui_basics.h>

#include <map>

namespace tarn
{

inline juce::Colour themeColour (const juce::Component&, const juce::String& path)
{
    static const std::map<juce::String, juce::uint32> colours {
        { "theme.primary", 0xff5249e2 },        { "theme.secondary", 0xffe03c26 },     { "theme.tertiary", 0xffe531e9 },
        { "theme.warning", 0xffe0624c },        { "background.background", 0xff111111 }, { "background.panel", 0xff181818 },
        { "text.text", 0xffcccccc },            { "text.textOnTheme", 0xffeeeeee },    { "text.highlightedtext", 0xffeeeeee },
        { "text.disabledtext", 0xff777777 },    { "elements.element", 0xff1c1c1c },    { "elements.elementborder", 0xff121212 },
        { "elements.disabledelement", 0xff101010 }, { "scrollbar.thumb", 0xff3a3a3a }, { "pianoroll.whitekey", 0xffcccccc },
        { "pianoroll.blackkey", 0xff1c1c1c },   { "pianoroll.whiterow", 0xff1b1b1b },  { "pianoroll.blackrow", 0xff151515 },
    };

    const auto found = colours.find (path);
    return juce::Colour (found != colours.end() ? found->second : 0xffff00ff);
}

inline juce::Font themeFont (const juce::Component&, float size)
{
    return juce::Font (juce::jlimit (0.1f, 10000.0f, size * 1.0f));
}

inline float themeMetric (const juce::Component&, const juce::String& name)
{
    static const std::map<juce::String, float> metrics {
        { "cornerRadius", 2.5f }, { "defaultButtonHeight", 25.0f }, { "comboHeight", 20.0f }, { "pianoRollLeftGap", 10.0f },
    };

    const auto found = metrics.find (name);
    return found != metrics.end() ? found->second : 0.0f;
}

/** No icons yet: buttons fall back to their text. */
inline std::unique_ptr<juce::Drawable> themeIcon (const juce::Component&, const juce::String&)
{
    return nullptr;
}

} // namespace tarn

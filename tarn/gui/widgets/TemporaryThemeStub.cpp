// TEMPORARY: see TemporaryThemeStub.h. Deleted at the merge.

#include "TemporaryThemeStub.h"

#include <map>

namespace tarn
{
juce::Colour themeColour (const juce::Component&, const juce::String& path)
{
    static const std::map<juce::String, juce::uint32> colours {
        { "theme.primary", 0xff5249e2 }, { "theme.secondary", 0xffe03c26 }, { "theme.tertiary", 0xffe531e9 },
        { "theme.warning", 0xffe0624c }, { "background.background", 0xff111111 }, { "background.panel", 0xff181818 },
        { "text.text", 0xffcccccc }, { "text.textOnTheme", 0xffeeeeee }, { "text.pluginName", 0xffffffff },
        { "text.highlightedtext", 0xffeeeeee }, { "text.disabledtext", 0xff777777 }, { "elements.element", 0xff1c1c1c },
        { "elements.elementborder", 0xff2a2a2a }, { "elements.disabledelement", 0xff101010 },
        { "elements.disabledelementborder", 0xff121212 }, { "slider.knob", 0xff1c1c1c }, { "slider.border", 0xff121212 },
        { "slider.ring", 0xff5249e2 }, { "slider.track", 0xff5249e2 }, { "slider.trackbackground", 0xff262626 },
        { "slider.dot", 0xffcccccc }, { "scrollbar.thumb", 0xff333333 }, { "pianoroll.whitekey", 0xffcccccc },
        { "pianoroll.blackkey", 0xff1c1c1c }, { "pianoroll.whiterow", 0xff181818 }, { "pianoroll.blackrow", 0xff141414 }
    };

    if (const auto found = colours.find (path); found != colours.end())
        return juce::Colour (found->second);

    return juce::Colour (0xffff00ff);
}

juce::Font themeFont (const juce::Component&, float size)
{
    return juce::Font (juce::jlimit (0.1f, 10000.0f, size * 1.7f));
}

float themeMetric (const juce::Component&, const juce::String& name, float fallback)
{
    static const std::map<juce::String, float> metrics {
        { "cornerRadius", 2.5f }, { "choiceButtonGap", 0.0f }, { "panelBorderWidth", 1.0f }, { "collapseIconSize", 10.0f },
        { "knobLabelHeight", 15.0f }, { "knobLabelGap", 10.0f }, { "sliderNameLabelWidth", 100.0f },
        { "sliderValueLabelWidth", 50.0f }, { "knobOffsetY", 3.0f }, { "knobHandlePadding", 8.0f },
        { "knobDotPadding", 17.0f }, { "knobDotSize", 7.0f }, { "knobTrackWidth", 5.0f }, { "topBarHeight", 50.0f },
        { "footerHeight", 30.0f }, { "topBarSeparator", 11.0f }, { "sidebarWidth", 240.0f }, { "sidebarGap", 0.0f },
        { "pianoRollLeftGap", 10.0f }, { "comboHeight", 20.0f }, { "comboLabelGap", 10.0f }, { "comboTextPadding", 10.0f },
        { "popupBorderWidth", 5.0f }, { "defaultButtonHeight", 25.0f }, { "defaultButtonWidth", 25.0f },
        { "iconButtonPadding", 6.0f }, { "topBarButtonHeight", 30.0f }, { "topBarButtonWidth", 35.0f },
        { "topBarIconPadding", 8.0f }, { "panelPadding", 20.0f }
    };

    if (const auto found = metrics.find (name); found != metrics.end())
        return found->second;

    return fallback;
}

std::unique_ptr<juce::Drawable> themeIcon (const juce::Component& component, const juce::String& name, const juce::String& colourPath)
{
    // A letter in a square is enough to tell the buttons apart until the real icons arrive.
    auto text = std::make_unique<juce::DrawableText>();
    text->setText (name.substring (0, 2).toUpperCase());
    text->setColour (themeColour (component, colourPath));
    text->setFontHeight (14.0f);
    text->setJustification (juce::Justification::centred);
    text->setBoundingBox (juce::Parallelogram<float> (juce::Rectangle<float> (0.0f, 0.0f, 24.0f, 24.0f)));
    return text;
}
} // namespace tarn

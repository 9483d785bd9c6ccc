#pragma once

#include "Icons.h"
#include "TarnLibLookAndFeel.h"

namespace tarn
{

/** How a widget reaches its theme: through the look-and-feel it is drawn with, found
    from the component. A component outside a themed editor (a test, a pop-up window on
    the desktop) gets the process's default look-and-feel in the current scheme.
    [message thread] */
TarnLibLookAndFeel& getTheme (const juce::Component& component);

/** The theme colour at a dotted path, e.g. "theme.primary", "pianoroll.whiterow". */
juce::Colour themeColour (const juce::Component& component, const juce::String& path);

/** The theme's font for a text size (the theme's scale and kerning applied). */
juce::Font themeFont (const juce::Component& component, float size = TarnLibLookAndFeel::defaultTextSize);

/** A product metric ("cornerRadius", "topBarHeight") or a library metric
    ("topBarButtonWidth", "panelPadding"), in pixels; `fallback` when the theme has neither. */
float themeMetric (const juce::Component& component, const juce::String& name, float fallback = 0.0f);

/** The library's metrics as a whole. */
const LibraryMetrics& themeLibraryMetrics (const juce::Component& component);

/** An icon by name ("cog", "save"...) in the theme colour at `colourPath`. */
std::unique_ptr<juce::Drawable> themeIcon (const juce::Component& component,
                                           const juce::String& name,
                                           const juce::String& colourPath = "text.text");

} // namespace tarn

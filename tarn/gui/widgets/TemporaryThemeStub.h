#pragma once

// TEMPORARY: stands in for tarn/gui/Theme.h until the look-and-feel is merged; same
// signatures, dark-scheme values only. Deleted at the merge.

#include <juce_gui_basics/juce_gui_basics.h>

namespace tarn
{
juce::Colour themeColour (const juce::Component& component, const juce::String& path);
juce::Font themeFont (const juce::Component& component, float size = 9.0f);
float themeMetric (const juce::Component& component, const juce::String& name, float fallback = 0.0f);
std::unique_ptr<juce::Drawable> themeIcon (const juce::Component& component,
                                           const juce::String& name,
                                           const juce::String& colourPath = "text.text");
} // namespace tarn

#pragma once

#include <juce_graphics/juce_graphics.h>

namespace tarn
{

/** The one place where fonts are made, so a move to a framework version that describes
    fonts by options touches only this file. */
namespace Fonts
{
    /** The typefaces compiled into the library: "Nunito" "SemiBold" and "Urbanist"
        "Medium". Null for any other name and style. [any thread] */
    juce::Typeface::Ptr findEmbeddedTypeface (const juce::String& name, const juce::String& style);

    /** A font of this typeface name and style (an embedded one when it exists, otherwise
        the system's), height in pixels and extra kerning as a proportion of the height.
        A descent override of 0..1 sets how much of the height lies below the baseline;
        a negative one keeps the typeface's own. [message thread] */
    juce::Font make (const juce::String& name, const juce::String& style, float height,
                     float extraKerning, float descentOverride = -1.0f);
} // namespace Fonts

} // namespace tarn

#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace tarn
{

/** The compiled-in icons: simple one-colour SVG drawings on a 24 × 24 grid, recoloured to
    whatever the theme asks for. [message thread] */
namespace Icons
{
    /** The names of every icon, e.g. "cog", "poweroff", "angledown". */
    const juce::StringArray& getNames();

    /** The icon drawn in `colour`, or nullptr for an unknown name. */
    std::unique_ptr<juce::Drawable> create (const juce::String& name, juce::Colour colour);
} // namespace Icons

} // namespace tarn

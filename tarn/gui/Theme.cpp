#include "Theme.h"

#include "ThemeSelector.h"

namespace tarn
{

TarnLibLookAndFeel& getTheme (const juce::Component& component)
{
    if (auto* ours = dynamic_cast<TarnLibLookAndFeel*> (&component.getLookAndFeel()))
        return *ours;

    return ThemeSelector::getInstance()->getDefaultLookAndFeel();
}

juce::Colour themeColour (const juce::Component& component, const juce::String& path)
{
    return getTheme (component).getThemeColour (path);
}

juce::Font themeFont (const juce::Component& component, float size)
{
    return getTheme (component).getThemeFont (size);
}

float themeMetric (const juce::Component& component, const juce::String& name, float fallback)
{
    return getTheme (component).getMetric (name, fallback);
}

const LibraryMetrics& themeLibraryMetrics (const juce::Component& component)
{
    return getTheme (component).getLibraryMetrics();
}

std::unique_ptr<juce::Drawable> themeIcon (const juce::Component& component, const juce::String& name,
                                           const juce::String& colourPath)
{
    return Icons::create (name, themeColour (component, colourPath));
}

} // namespace tarn

#pragma once

#include <brindlex/gui/BrindlexEditor.h>

class Cadenzium2AudioProcessor;

/** The plug-in window: the maker's top bar over the product's main area. */
class Cadenzium2AudioProcessorEditor : public brindlex::BrindlexEditor
{
public:
    static constexpr int defaultWidth = 1244, defaultHeight = 935;

    /** The settings key of the product's colour scheme, and its choices. */
    static constexpr const char* themeSettingKey = "cadenzium_gui_theme";

    explicit Cadenzium2AudioProcessorEditor (Cadenzium2AudioProcessor& processor);
    ~Cadenzium2AudioProcessorEditor() override;

    /** "Classic" → 3, "Light" → 5, anything else → 4 (Dark). */
    static int colourSchemeFor (const juce::String& themeName);

protected:
    void layoutMainArea (juce::Rectangle<int> area) override;
    void settingsChanged (brindlex::BrindlexSettings& settings) override;
    void windowSizeChanged (int width, int height) override;

private:
    Cadenzium2AudioProcessor& cadenziumProcessor;
    bool restoringSize = true;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Cadenzium2AudioProcessorEditor)
};

#pragma once

// TEMPORARY: stands in for brindlex::BrindlexEditor (the top bar, scaling, tooltips and
// toasts) until the editor shell is merged; the same hooks, nothing else. Deleted at the merge.

#include <brindlex/BrindlexProcessor.h>
#include <tarn/gui/widgets/TemporaryThemeStub.h>

#include <juce_audio_processors/juce_audio_processors.h>

class TemporaryEditorBase : public juce::AudioProcessorEditor
{
public:
    explicit TemporaryEditorBase (brindlex::BrindlexProcessor& owner) : juce::AudioProcessorEditor (owner) {}

    void paint (juce::Graphics& g) override
    {
        g.fillAll (tarn::themeColour (*this, "background.background"));
        g.setColour (tarn::themeColour (*this, "background.panel"));
        g.fillRect (getLocalBounds().removeFromTop (topBarHeight()));
    }

    void resized() final
    {
        windowSizeChanged (getWidth(), getHeight());
        layoutMainArea (getLocalBounds().withTrimmedTop (topBarHeight()));
    }

protected:
    virtual void layoutMainArea (juce::Rectangle<int> area) = 0;
    virtual void windowSizeChanged (int, int) {}

private:
    int topBarHeight() const { return juce::roundToInt (tarn::themeMetric (*this, "topBarHeight", 50.0f)); }
    juce::TooltipWindow tooltips { this, 700 };
};

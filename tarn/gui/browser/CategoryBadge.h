#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace tarn
{

/** One category of the preset browser's filter: a pill that a click switches on and off.
    A right click switches every badge off (the owner's onClearAll). [message thread] */
class CategoryBadge : public juce::Button
{
public:
    explicit CategoryBadge (const juce::String& category);
    ~CategoryBadge() override;

    const juce::String& getCategory() const noexcept { return category; }

    /** A right click: clear the whole category filter. */
    std::function<void()> onClearAll;

    /** The width the text needs at this height. */
    int getIdealWidth (int height) const;

    static juce::String tooltipFor (const juce::String& category);

    void paintButton (juce::Graphics& g, bool highlighted, bool down) override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;

private:
    const juce::String category;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CategoryBadge)
};

} // namespace tarn

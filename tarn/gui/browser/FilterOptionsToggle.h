#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace tarn
{

/** A two-state switch drawn as two joined segments, the chosen one lit: the browser's
    "Show" / "Hide" and "Any" / "All". Each segment has its own tooltip and component ID,
    and a click on it chooses it. [message thread] */
class FilterOptionsToggle : public juce::Component
{
public:
    struct Option
    {
        juce::String text, tooltip, componentId;
    };

    FilterOptionsToggle (Option first, Option second);
    ~FilterOptionsToggle() override;

    /** 0 the first option, 1 the second. */
    int getChosen() const noexcept { return chosen; }

    /** Chooses without calling onChange. */
    void setChosen (int option);

    /** Called with the option a click chose. */
    std::function<void (int option)> onChange;

    int getIdealWidth() const;

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    class Segment : public juce::Button
    {
    public:
        Segment (FilterOptionsToggle& owner, int option, const Option& spec);
        void paintButton (juce::Graphics& g, bool highlighted, bool down) override;

    private:
        FilterOptionsToggle& owner;
        const int option;
    };

    void choose (int option);

    std::array<std::unique_ptr<Segment>, 2> segments;
    int chosen = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FilterOptionsToggle)
};

} // namespace tarn

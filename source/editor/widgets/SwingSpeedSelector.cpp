#include "SwingSpeedSelector.h"

#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/gui/Theme.h>

namespace
{
// Item ids of the menu; the processor's grid choices are 0 (a quarter note), 1 (a
// sixteenth) and 2 (an eighth), and swing moves the second half of each grid step.
constexpr int eighthsItem = 1, sixteenthsItem = 2, thirtySecondsItem = 3;
} // namespace

SwingSpeedSelector::SwingSpeedSelector (Cadenzium2AudioProcessor& p, const juce::String& labelText, const juce::String& tooltip)
    : processor (p), label (labelText)
{
    setTooltip (tooltip);
    box.setTooltip (tooltip);
    box.setName (labelText);
    box.setWantsKeyboardFocus (false);
    box.addItem ("1/8", eighthsItem);
    box.addItem ("1/16", sixteenthsItem);
    box.addItem ("1/32", thirtySecondsItem);
    box.onChange = [this]
    {
        const auto choice = gridChoiceForItem (box.getSelectedId());
        if (choice == processor.getSwingGridChoice())
            return;

        processor.setSwingGridChoice (choice);
        processor.pingInternalParameter();
    };
    addAndMakeVisible (box);
    refresh();
}

int SwingSpeedSelector::gridChoiceForItem (int itemId) noexcept
{
    switch (itemId)
    {
        case sixteenthsItem:
            return 2;
        case thirtySecondsItem:
            return 1;
        default:
            return 0;
    }
}

int SwingSpeedSelector::itemForGridChoice (int choice) noexcept
{
    switch (choice)
    {
        case 1:
            return thirtySecondsItem;
        case 2:
            return sixteenthsItem;
        default:
            return eighthsItem;
    }
}

void SwingSpeedSelector::refresh()
{
    box.setSelectedId (itemForGridChoice (processor.getSwingGridChoice()), juce::dontSendNotification);
}

int SwingSpeedSelector::getNaturalLabelWidth() const
{
    return juce::roundToInt (std::ceil (tarn::themeFont (*this).getStringWidthFloat (label)))
         + juce::roundToInt (tarn::themeMetric (*this, "comboLabelGap", 10.0f));
}

int SwingSpeedSelector::getPreferredHeight() const
{
    return juce::roundToInt (tarn::themeMetric (*this, "defaultButtonHeight", 25.0f));
}

void SwingSpeedSelector::resized()
{
    const auto height = std::min (getHeight(), juce::roundToInt (tarn::themeMetric (*this, "comboHeight", 20.0f)));
    const auto area = getLocalBounds().withTrimmedLeft (labelWidthInColumn());
    box.setBounds (area.withSizeKeepingCentre (area.getWidth(), height));
}

void SwingSpeedSelector::paint (juce::Graphics& g)
{
    g.setFont (tarn::themeFont (*this));
    g.setColour (tarn::themeColour (*this, "text.text"));
    g.drawFittedText (label, getLocalBounds().withWidth (labelWidthInColumn()), juce::Justification::centredLeft, 1, 0.75f);
}

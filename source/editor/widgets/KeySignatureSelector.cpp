#include "KeySignatureSelector.h"

#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/gui/Theme.h>

KeySignatureSelector::KeySignatureSelector (Cadenzium2AudioProcessor& p, const juce::String& labelText, const juce::String& tooltip)
    : processor (p), label (labelText)
{
    setTooltip (tooltip);

    for (int root = 0; root < 12; ++root)
        rootBox.addItem (rootName (root), root + 1);

    int id = 1;
    for (auto& scale : Scales::all())
        scaleBox.addItem (scale.name, id++);

    for (auto* box : { &rootBox, &scaleBox })
    {
        box->setTooltip (tooltip);
        box->setWantsKeyboardFocus (false);
        box->onChange = [this]
        { userPicked(); };
        addAndMakeVisible (*box);
    }

    rootBox.setName ("Key Root");
    scaleBox.setName ("Key Scale");
    refresh();
}

juce::String KeySignatureSelector::rootName (int root)
{
    static const char* const names[] { "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B" };
    return names[((root % 12) + 12) % 12];
}

void KeySignatureSelector::refresh()
{
    const auto key = processor.getKeySignature();
    if (shown == key)
        return;

    shown = key;
    rootBox.setSelectedId (key.getRoot() + 1, juce::dontSendNotification);
    // A name that is not an item shows as the box's text with nothing ticked.
    scaleBox.setText (key.getScaleName(), juce::dontSendNotification);
}

void KeySignatureSelector::userPicked()
{
    const auto root = rootBox.getSelectedId() - 1;
    const auto scale = Scales::find (scaleBox.getText());
    const auto current = processor.getKeySignature();

    // A root chosen while the key has no scale of the menu keeps the key's own notes.
    auto key = scale.has_value() ? KeySignature (root, *scale)
                                 : KeySignature::fromFlags (root, current.getIntervals()).value_or (current);

    if (key == current)
        return;

    processor.setKeySignature (key);
    processor.pingInternalParameter();
    refresh();
}

int KeySignatureSelector::getNaturalLabelWidth() const
{
    return juce::roundToInt (std::ceil (tarn::themeFont (*this).getStringWidthFloat (label)))
         + juce::roundToInt (tarn::themeMetric (*this, "comboLabelGap", 10.0f));
}

int KeySignatureSelector::getPreferredHeight() const
{
    return juce::roundToInt (tarn::themeMetric (*this, "defaultButtonHeight", 25.0f));
}

void KeySignatureSelector::resized()
{
    const auto height = std::min (getHeight(), juce::roundToInt (tarn::themeMetric (*this, "comboHeight", 20.0f)));
    const auto gap = juce::roundToInt (tarn::themeMetric (*this, "comboLabelGap", 10.0f)) / 2;
    auto area = getLocalBounds().withTrimmedLeft (labelWidthInColumn());
    area = area.withSizeKeepingCentre (area.getWidth(), height);

    // The root needs room for "C#" and its arrow even when the panel's label column is wide.
    rootBox.setBounds (area.removeFromLeft (std::max (area.getWidth() / 3, std::min (area.getWidth() / 2, 3 * height))));
    area.removeFromLeft (gap);
    scaleBox.setBounds (area);
}

void KeySignatureSelector::paint (juce::Graphics& g)
{
    g.setFont (tarn::themeFont (*this));
    g.setColour (tarn::themeColour (*this, "text.text"));
    g.drawFittedText (label, getLocalBounds().withWidth (labelWidthInColumn()), juce::Justification::centredLeft, 1, 0.75f);
}

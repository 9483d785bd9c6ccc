#include "PhraseControls.h"

#include "PianoRollMetrics.h"
#include "PianoRollTheme.h"
#include "PianoRollTypes.h"

namespace tarn
{
namespace
{
    // The time signatures the box lists; others can be typed.
    constexpr std::pair<int, int> listedSignatures[] = { { 2, 4 }, { 3, 4 }, { 4, 4 }, { 5, 4 }, { 6, 4 }, { 7, 4 }, { 2, 2 }, { 3, 2 },
                                                         { 3, 8 }, { 5, 8 }, { 6, 8 }, { 7, 8 }, { 9, 8 }, { 12, 8 }, { 7, 16 }, { 15, 16 } };

    juce::String signatureText (int numerator, int denominator)
    {
        return juce::String (numerator) + "/" + juce::String (denominator);
    }

    constexpr int foreverItem = 1, neverItem = 3, firstCountItem = 4, lastCountItem = 7;
} // namespace

PhraseControls::PhraseControls()
{
    addAndMakeVisible (length);
    length.onLengthPreview = [this] (int ticks)
    {
        if (onLengthPreview != nullptr)
            onLengthPreview (ticks);
    };
    length.onLengthChosen = [this] (int ticks)
    {
        if (onLengthChosen != nullptr)
            onLengthChosen (ticks);
    };

    for (auto* label : { &lengthLabel, &timeSignatureLabel, &repeatLabel })
    {
        label->setJustificationType (juce::Justification::centredRight);
        addAndMakeVisible (*label);
    }

    timeSignature.setComponentID ("time_signature");
    timeSignature.setTooltip (PianoRollHelp::timeSignature);
    timeSignature.setEditableText (true);

    for (size_t i = 0; i < std::size (listedSignatures); ++i)
        timeSignature.addItem (signatureText (listedSignatures[i].first, listedSignatures[i].second), (int) i + 1);

    timeSignature.onChange = [this]
    { timeSignatureChanged(); };
    addAndMakeVisible (timeSignature);

    repeat.setComponentID ("repeat");
    repeat.setTooltip (PianoRollHelp::repeat);
    repeat.addItem ("Forever", foreverItem);
    repeat.addItem ("Never", neverItem);

    for (int item = firstCountItem; item <= lastCountItem; ++item)
        repeat.addItem (juce::String (item - neverItem), item);

    repeat.setSelectedId (foreverItem, juce::dontSendNotification);
    repeat.onChange = [this]
    { repeatChanged(); };
    addAndMakeVisible (repeat);
}

PhraseControls::~PhraseControls() = default;

int PhraseControls::repeatItemFor (int count) noexcept
{
    const auto item = count + 2;
    return item == foreverItem || (item >= neverItem && item <= lastCountItem) ? item : 0;
}

juce::String PhraseControls::repeatTextFor (int count)
{
    if (const auto item = repeatItemFor (count); item != 0)
        return item == foreverItem ? "Forever" : item == neverItem ? "Never" : juce::String (count - 1);

    // No pass at all (a song may hold it): the phrase never plays.
    if (count == 0)
        return "Silent";

    return juce::String (count - 1);
}

std::optional<std::pair<int, int>> PhraseControls::parseTimeSignature (const juce::String& text)
{
    const auto trimmed = text.removeCharacters (" ");

    if (! trimmed.containsChar ('/') || ! trimmed.containsOnly ("0123456789/"))
        return std::nullopt;

    const auto top = trimmed.upToFirstOccurrenceOf ("/", false, false).substring (0, 4);
    const auto bottom = trimmed.fromFirstOccurrenceOf ("/", false, false).substring (0, 4);

    if (top.isEmpty() || bottom.isEmpty())
        return std::nullopt;

    const auto n = top.getIntValue(), d = bottom.getIntValue();

    if (! Sequence::isValidTimeSignature (n, d))
        return std::nullopt;

    return std::pair (n, d);
}

void PhraseControls::showPhrase (const Sequence& phrase)
{
    numerator = phrase.timeSignatureNumerator;
    denominator = phrase.timeSignatureDenominator;
    loopCount = phrase.loopCount;

    length.setLength (phrase.getLength(), numerator, denominator);
    timeSignature.setText (signatureText (numerator, denominator), juce::dontSendNotification);

    const auto item = repeatItemFor (loopCount);

    if (item != 0)
        repeat.setSelectedId (item, juce::dontSendNotification);
    else
        repeat.setText (repeatTextFor (loopCount), juce::dontSendNotification);
}

void PhraseControls::timeSignatureChanged()
{
    const auto parsed = parseTimeSignature (timeSignature.getText());

    if (! parsed.has_value() || (parsed->first == numerator && parsed->second == denominator))
    {
        timeSignature.setText (signatureText (numerator, denominator), juce::dontSendNotification);
        return;
    }

    numerator = parsed->first;
    denominator = parsed->second;

    if (onTimeSignatureChosen != nullptr)
        onTimeSignatureChosen (numerator, denominator);
}

void PhraseControls::repeatChanged()
{
    const auto item = repeat.getSelectedId();

    if (item == 0 || item - 2 == loopCount)
        return;

    loopCount = item - 2;

    if (onLoopCountChosen != nullptr)
        onLoopCountChosen (loopCount);
}

void PhraseControls::resized()
{
    auto bounds = getLocalBounds();
    const auto gap = PianoRollMetrics::phraseControlGap;
    const auto comboHeight = juce::jmin (bounds.getHeight(), juce::roundToInt (themeMetric (*this, "comboHeight", 20.0f)) + 4);
    const auto centred = [&] (juce::Rectangle<int> area)
    { return area.withSizeKeepingCentre (area.getWidth(), comboHeight); };

    // Each box after its label, the label as wide as its text; where the boxes would not
    // fit, the length box goes without its label (its tooltip still names it).
    const auto labelWidth = [this] (juce::Label& label)
    {
        const auto font = getLookAndFeel().getLabelFont (label);
        return juce::roundToInt (std::ceil (font.getStringWidthFloat (label.getText()))) + label.getBorderSize().getLeftAndRight() + 2;
    };
    const auto placeLabel = [&] (juce::Label& label)
    { label.setBounds (bounds.removeFromLeft (labelWidth (label))); };

    const auto boxesWidth = 90 + 70 + 90 + 2 * gap + labelWidth (timeSignatureLabel) + labelWidth (repeatLabel);
    lengthLabel.setVisible (boxesWidth + labelWidth (lengthLabel) <= bounds.getWidth());
    if (lengthLabel.isVisible())
        placeLabel (lengthLabel);
    length.setBounds (centred (bounds.removeFromLeft (90)));
    bounds.removeFromLeft (gap);
    placeLabel (timeSignatureLabel);
    timeSignature.setBounds (centred (bounds.removeFromLeft (70)));
    bounds.removeFromLeft (gap);
    placeLabel (repeatLabel);
    repeat.setBounds (centred (bounds.removeFromLeft (90)));
}

} // namespace tarn

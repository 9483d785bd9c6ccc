#include "Parameters.h"

namespace Parameters
{
namespace
{
    using Layout = juce::AudioProcessorValueTreeState::ParameterLayout;
    using ToText = std::function<juce::String (float, int)>;
    using FromText = std::function<float (const juce::String&)>;

    juce::ParameterID makeId (const char* id) { return { id, 1 }; }

    /** Whole values print without decimals; others with one. */
    juce::String formatNumber (float value)
    {
        const auto rounded = std::round (value * 10.0f) / 10.0f;

        if (juce::approximatelyEqual (rounded, std::round (rounded)))
            return juce::String (juce::roundToInt (rounded));

        return juce::String (rounded, 1);
    }

    /** The leading number of a typed text, ignoring blanks, signs like "±" and suffixes. */
    float leadingNumber (const juce::String& text)
    {
        return text.trim().trimCharactersAtStart (juce::CharPointer_UTF8 ("\xc2\xb1+ ")).getFloatValue();
    }

    std::unique_ptr<juce::AudioParameterFloat> makeFloat (const char* id, const char* name, juce::NormalisableRange<float> range, float defaultValue, ToText toText, FromText fromText)
    {
        return std::make_unique<juce::AudioParameterFloat> (makeId (id), name, range, defaultValue, juce::AudioParameterFloatAttributes().withStringFromValueFunction (std::move (toText)).withValueFromStringFunction (std::move (fromText)));
    }

    std::unique_ptr<juce::AudioParameterFloat> makeSwitch (const char* id, const char* name, float defaultValue, const juce::String& onText = "Enabled", const juce::String& offText = "Disabled")
    {
        return makeFloat (
            id,
            name,
            { 0.0f, 1.0f, 1.0f },
            defaultValue,
            [onText, offText] (float value, int)
            { return value >= 0.5f ? onText : offText; },
            [onText, offText] (const juce::String& text)
            {
                const auto t = text.trim();

                if (t.equalsIgnoreCase (onText) || t.equalsIgnoreCase ("on") || t.equalsIgnoreCase ("true")
                    || t.equalsIgnoreCase ("yes"))
                    return 1.0f;

                if (t.equalsIgnoreCase (offText) || t.equalsIgnoreCase ("off") || t.equalsIgnoreCase ("false")
                    || t.equalsIgnoreCase ("no"))
                    return 0.0f;

                return t.getFloatValue() >= 0.5f ? 1.0f : 0.0f;
            });
    }

    std::unique_ptr<juce::AudioParameterFloat> makeChoice (const char* id, const char* name, const juce::StringArray& choices, float defaultValue)
    {
        const auto last = (float) (choices.size() - 1);

        return makeFloat (
            id,
            name,
            { 0.0f, last, 1.0f },
            defaultValue,
            [choices] (float value, int)
            { return choices[juce::jlimit (0, choices.size() - 1, juce::roundToInt (value))]; },
            [choices, last] (const juce::String& text)
            {
                const auto t = text.trim();

                for (int i = 0; i < choices.size(); ++i)
                    if (choices[i].equalsIgnoreCase (t))
                        return (float) i;

                return juce::jlimit (0.0f, last, (float) juce::roundToInt (t.getFloatValue()));
            });
    }

    std::unique_ptr<juce::AudioParameterFloat> makePercent (const char* id, const char* name, float min, float max, float defaultValue, const juce::String& suffix)
    {
        return makeFloat (
            id,
            name,
            { min, max },
            defaultValue,
            [suffix] (float value, int)
            { return formatNumber (value) + suffix; },
            [] (const juce::String& text)
            { return leadingNumber (text); });
    }

    juce::String countText (float value, const char* singular, const char* plural)
    {
        const auto n = juce::roundToInt (value);

        if (n == 0)
            return "Off";

        return juce::String (n) + (n == 1 ? singular : plural);
    }

    float countFromText (const juce::String& text)
    {
        return text.trim().equalsIgnoreCase ("off") ? 0.0f : leadingNumber (text);
    }

    float noteFromText (const juce::String& text)
    {
        const auto note = parseNoteName (text);
        return note >= 0 ? (float) note : leadingNumber (text);
    }
} // namespace

juce::String noteName (int noteNumber)
{
    return juce::MidiMessage::getMidiNoteName (juce::jlimit (0, 127, noteNumber), true, true, 3);
}

int parseNoteName (const juce::String& text)
{
    const auto t = text.trim();

    if (t.isEmpty())
        return -1;

    if (t.containsOnly ("0123456789"))
        return juce::jlimit (0, 127, t.getIntValue());

    static const int pitchClasses[] = { 9, 11, 0, 2, 4, 5, 7 }; // A B C D E F G
    const auto letter = juce::CharacterFunctions::toUpperCase (t[0]);

    if (letter < 'A' || letter > 'G')
        return -1;

    int pitchClass = pitchClasses[letter - 'A'];
    auto rest = t.substring (1);

    if (rest.startsWithChar ('#'))
    {
        ++pitchClass;
        rest = rest.substring (1);
    }
    else if (rest.startsWithChar ('b'))
    {
        --pitchClass;
        rest = rest.substring (1);
    }

    rest = rest.trim();

    if (rest.isEmpty() || ! rest.substring (rest.startsWithChar ('-') ? 1 : 0).containsOnly ("0123456789"))
        return -1;

    const auto octave = rest.getIntValue();
    return juce::jlimit (0, 127, (octave + 2) * 12 + pitchClass);
}

juce::StringArray keyswitchRangeChoices()
{
    juce::StringArray choices;

    for (int k = 0; k < 10; ++k)
        choices.add ("C" + juce::String (k - 2) + " : B" + juce::String (k - 2));

    choices.add ("C8 : G8");
    return choices;
}

Layout createLayout()
{
    namespace id = ParameterIds;
    Layout layout;

    const auto valueText = [] (float value, int)
    { return juce::String (juce::roundToInt (value)); };
    const auto noteText = [] (float value, int)
    { return noteName (juce::roundToInt (value)); };
    const auto percentText = [] (float value, int)
    { return juce::String (juce::roundToInt (value)) + "%"; };
    const juce::NormalisableRange<float> velocityRange { 0.0f, 127.0f };

    layout.add (makeSwitch (id::enable, "Enabled", 1.0f, "Enabled", "Bypassed"),
                makeSwitch (id::keyswitchEnable, "KS Enable", 1.0f),
                makeSwitch (id::keyswitchHold, "KS Hold", 0.0f),
                makeSwitch (id::keyswitchRetrigger, "KS Retrigger", 0.0f),
                makeChoice (id::keyswitchRange, "Keyswitch Range", keyswitchRangeChoices(), 2.0f),
                makeSwitch (id::inputLatch, "Input Latch", 0.0f),
                makeSwitch (id::inputFill, "Fill Notes", 1.0f),
                makeChoice (id::inputRetrigger, "Input Retriggers", { "Off", "Note On & Off", "Note On", "Note Off", "All Notes Off" }, 0.0f),
                makeSwitch (id::inputCcPassthrough, "CC Passthrough", 0.0f),
                makeSwitch (id::lockToKey, "Key Lock", 0.0f),
                makePercent (id::swingAmount, "Swing", 0.0f, 100.0f, 0.0f, "%"),
                makeFloat (
                    id::internal,
                    "[INTERNAL]",
                    { 0.0f, 1.0f },
                    0.0f,
                    [] (float value, int)
                    { return juce::String (value, 3); },
                    [] (const juce::String& text)
                    { return juce::jlimit (0.0f, 1.0f, text.getFloatValue()); }),
                makeSwitch (id::dawTransportOnly, "DAW Transport Only", 1.0f),
                makeFloat (
                    id::randomVelocity,
                    "Random Velocity",
                    velocityRange,
                    0.0f,
                    [] (float value, int)
                    { return juce::String (juce::CharPointer_UTF8 ("\xc2\xb1 ")) + juce::String (juce::roundToInt (value)); },
                    [] (const juce::String& text)
                    { return std::abs (leadingNumber (text)); }),
                makeFloat (id::velocityScaleLow, "Velocity Low", velocityRange, 0.0f, valueText, leadingNumber),
                makeFloat (id::velocityScaleHigh, "Velocity High", velocityRange, 127.0f, valueText, leadingNumber),
                makeSwitch (id::notePassthrough, "Note Passthrough", 0.0f),
                makeSwitch (id::velocityPassthrough, "Velocity Passthrough", 0.0f),
                makeChoice (id::genNotePolyphony, "Generation Polyphony", { "Mono", "Poly", "Chords" }, 1.0f),
                makeChoice (id::genNoteMode, "Generation Mode", { "Random", "Response", "Invert", "Reverse" }, 0.0f),
                makePercent (id::genChordDensity, "Generation Chord Density", 0.0f, 100.0f, 10.0f, "%"),
                makePercent (id::genNoteDensity, "Generation Density", 0.0f, 100.0f, 10.0f, "%"),
                makeChoice (id::genNoteLength, "Generation Length", { "1/32", "1/16", "1/8", "1/4", "1/2", "1/1" }, 1.0f),
                makePercent (id::genNoteLengthVariation, "Generation Length Variation", 0.0f, 100.0f, 0.0f, "%"),
                makePercent (id::genNoteChanceMin, "Generation Chance Min", 0.0f, 100.0f, 100.0f, "%"),
                makePercent (id::genNoteChanceMax, "Generation Chance Max", 0.0f, 100.0f, 100.0f, "%"),
                makePercent (id::genVelocityMin, "Generation Velocity Min", 1.0f, 127.0f, 80.0f, {}),
                makePercent (id::genVelocityMax, "Generation Velocity Max", 1.0f, 127.0f, 100.0f, {}),
                makePercent (id::genTransposeMin, "Generation Transpose Min", -24.0f, 24.0f, -12.0f, {}),
                makePercent (id::genTransposeMax, "Generation Transpose Max", -24.0f, 24.0f, 12.0f, {}),
                makePercent (id::genTransposeChance, "Generation Transpose Chance", 0.0f, 100.0f, 0.0f, "%"),
                makePercent (id::genOctaveMin, "Generation Octave Min", -4.0f, 4.0f, -1.0f, {}),
                makePercent (id::genOctaveMax, "Generation Octave Max", -4.0f, 4.0f, 1.0f, {}),
                makePercent (id::genOctaveChance, "Generation Octave Chance", 0.0f, 100.0f, 0.0f, "%"),
                makeSwitch (id::notePassthroughScale, "Passthrough Scale", 0.0f),
                makeFloat (id::noteOutputRangeLow, "Output Range Low", velocityRange, 0.0f, noteText, noteFromText),
                makeFloat (id::noteOutputRangeHigh, "Output Range High", velocityRange, 127.0f, noteText, noteFromText),
                makeFloat (id::mutationNotesChanged, "Mutation Chance", { 0.0f, 100.0f, 1.0f }, 25.0f, percentText, leadingNumber),
                makeFloat (
                    id::mutationTiming,
                    "Mutation Timing",
                    { 0.0f, 2.0f, 1.0f },
                    0.0f,
                    [] (float value, int)
                    { return countText (value, " step", " steps"); },
                    countFromText),
                makeFloat (
                    id::mutationPitch,
                    "Mutation Pitch",
                    { 0.0f, 3.0f, 1.0f },
                    1.0f,
                    [] (float value, int)
                    { return countText (value, " position", " positions"); },
                    countFromText),
                makeFloat (id::mutationLength, "Mutation Length", { 0.0f, 50.0f, 1.0f }, 0.0f, percentText, leadingNumber),
                makeFloat (id::mutationVelocity, "Mutation Velocity", { 0.0f, 32.0f, 1.0f }, 0.0f, valueText, leadingNumber));

    return layout;
}

} // namespace Parameters

#include "CadenziumModifier.h"

#include <juce_audio_basics/juce_audio_basics.h>

juce::String CadenziumModifier::getTypeLabel (int type, int value)
{
    switch (type)
    {
        case pitch:
            if (value == 0)
                return "Lowest";
            if (value == highestPitchValue)
                return "Highest";
            return "Pitch " + juce::String (value + 1);

        case velocity:
            if (value == 0)
                return "Quietest";
            if (value == lastVelocityOrTimingValue)
                return "Loudest";
            return "Velocity " + juce::String (value + 1);

        case timing:
            if (value == 0)
                return "Oldest";
            if (value == lastVelocityOrTimingValue)
                return "Latest";
            return "Timing " + juce::String (value + 1);

        case fixed:
            return juce::MidiMessage::getMidiNoteName (juce::jlimit (0, 127, value), true, true, 3);

        case random:
            return "Random";

        case all:
            return "All";

        default:
            return {};
    }
}

juce::String CadenziumModifier::getLabel() const
{
    auto label = name.isNotEmpty() ? name : getTypeLabel (type, value);

    if (channel >= 2)
        label << " (Ch " << channel << ")";

    return label;
}

juce::Range<int> CadenziumModifier::getValueRange (int type) noexcept
{
    switch (type)
    {
        case pitch:
            return { 0, highestPitchValue };
        case velocity:
        case timing:
            return { 0, lastVelocityOrTimingValue };
        case fixed:
            return { 0, 127 };
        default:
            return { 0, 0 };
    }
}

void CadenziumModifier::sanitise() noexcept
{
    type = juce::jlimit (0, numTypes - 1, type);
    const auto range = getValueRange (type);
    value = juce::jlimit (range.getStart(), range.getEnd(), value);
    channel = juce::jlimit (1, 16, channel);
    transpose = juce::jlimit (-127, 127, transpose);
    octave = juce::jlimit (-10, 10, octave);
}

bool CadenziumModifier::operator== (const CadenziumModifier& o) const noexcept
{
    return transpose == o.transpose && octave == o.octave && channel == o.channel && type == o.type
           && value == o.value && name == o.name && colour == o.colour && muted == o.muted
           && generationLock == o.generationLock;
}

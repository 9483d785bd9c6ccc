#include "Sequence.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <algorithm>

namespace tarn
{

bool SequenceNote::operator== (const SequenceNote& o) const noexcept
{
    return chance == o.chance && transposeMin == o.transposeMin && transposeMax == o.transposeMax
           && octaveMin == o.octaveMin && octaveMax == o.octaveMax && velocityMin == o.velocityMin
           && velocityMax == o.velocityMax && number == o.number && timestamp == o.timestamp
           && length == o.length && channel == o.channel && repeatStyle == o.repeatStyle
           && repeatCount == o.repeatCount && repeatRate == o.repeatRate;
}

bool ControllerPoint::operator== (const ControllerPoint& o) const noexcept
{
    return timestamp == o.timestamp && value == o.value && curve == o.curve && shape == o.shape;
}

bool ControllerLane::hasSameKeyAs (const ControllerLane& other) const noexcept
{
    if (type != other.type || channel != other.channel)
        return false;

    return type != controlChange || number == other.number;
}

juce::String ControllerLane::getDisplayName() const
{
    juce::String text;

    if (name.isNotEmpty())
    {
        text = name;
    }
    else if (type == controlChange)
    {
        text = "CC " + juce::String (number);

        if (juce::isPositiveAndBelow (number, 128))
        {
            const auto controllerName = juce::String (juce::MidiMessage::getControllerName (number))
                                            .replace (" (coarse)", "");

            if (controllerName.isNotEmpty())
                text << " - " << controllerName;
        }
    }
    else
    {
        text = "Pitch Bend";
    }

    if (channel > 1)
        text << " (Ch: " << channel << ")";

    return text;
}

bool ControllerLane::operator== (const ControllerLane& o) const noexcept
{
    return points == o.points && type == o.type && number == o.number && channel == o.channel && name == o.name;
}

//==============================================================================
Sequence::Sequence()
{
    normalise();
}

Sequence::Sequence (const Sequence& other)
    : notes (other.notes)
    , loops (other.loops)
    , lanes (other.lanes)
    , carryPitchOffset (other.carryPitchOffset)
    , playbackStart (other.playbackStart)
    , timeSignatureNumerator (other.timeSignatureNumerator)
    , timeSignatureDenominator (other.timeSignatureDenominator)
    , name (other.name)
    , loopCount (other.loopCount)
    , length (other.length)
    , contentEnd (other.contentEnd)
{
    normalise();
}

Sequence& Sequence::operator= (const Sequence& other)
{
    if (this != &other)
    {
        notes = other.notes;
        loops = other.loops;
        lanes = other.lanes;
        carryPitchOffset = other.carryPitchOffset;
        playbackStart = other.playbackStart;
        timeSignatureNumerator = other.timeSignatureNumerator;
        timeSignatureDenominator = other.timeSignatureDenominator;
        name = other.name;
        loopCount = other.loopCount;
        length = other.length;
        contentEnd = other.contentEnd;
        normalise();
    }

    return *this;
}

void Sequence::setLength (int newLength) noexcept
{
    length = juce::jlimit (0, maxLength, newLength);

    if (length > 0)
        playbackStart = juce::jlimit (0, length - 1, playbackStart);
}

int Sequence::getEffectivePlaybackStart() const noexcept
{
    return length > 0 ? juce::jlimit (0, length - 1, playbackStart) : 0;
}

void Sequence::normalise()
{
    std::stable_sort (notes.begin(), notes.end(), [] (const SequenceNote& a, const SequenceNote& b)
                      { return a.timestamp < b.timestamp; });

    juce::int64 end = 0;

    for (const auto& note : notes)
        end = std::max (end, (juce::int64) note.timestamp + note.length);

    for (const auto& lane : lanes)
        for (const auto& point : lane.points)
            end = std::max (end, (juce::int64) point.timestamp);

    contentEnd = (int) std::min (end, (juce::int64) std::numeric_limits<int>::max());

    for (auto& loop : loops)
        if (! loop.isSet() || (loop.start == 0 && loop.end == length))
            loop.clear();
}

void Sequence::setLane (const ControllerLane& lane)
{
    for (auto& existing : lanes)
    {
        if (existing.hasSameKeyAs (lane))
        {
            DBG ((lane.type == ControllerLane::controlChange ? "Lane exists so overwriting (controller)"
                                                             : "Lane exists so overwriting (non-controller i.e. pitch)"));
            existing = lane;
            return;
        }
    }

    DBG ("Lane not exists so saving as new lane");
    lanes.push_back (lane);
}

bool Sequence::isValidTimeSignature (int numerator, int denominator) noexcept
{
    return numerator >= 1 && numerator <= 64 && denominator >= 1 && denominator <= 64
           && juce::isPowerOfTwo (denominator);
}

} // namespace tarn

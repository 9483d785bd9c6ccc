#include "ContinuousPlayHead.h"

#include <cmath>

void ContinuousPlayHead::advance (int numSamples, double sampleRate) noexcept
{
    const auto reported = source != nullptr ? source->getPosition() : juce::nullopt;

    if (reported.hasValue())
    {
        current = reported;
        completeMusicalTime (*current, sampleRate);
    }
    else if (current.hasValue() && current->getIsPlaying() && sampleRate > 0.0)
    {
        if (const auto samples = current->getTimeInSamples())
        {
            current->setTimeInSamples (*samples + previousBlock);
            current->setTimeInSeconds ((double) (*samples + previousBlock) / sampleRate);
        }

        if (const auto ppq = current->getPpqPosition(); ppq.hasValue() && current->getBpm().hasValue())
            current->setPpqPosition (*ppq + previousBlock * *current->getBpm() / (60.0 * sampleRate));

        completeMusicalTime (*current, sampleRate);
    }

    previousBlock = numSamples;
}

void ContinuousPlayHead::completeMusicalTime (PositionInfo& position, double sampleRate) noexcept
{
    const auto bpm = position.getBpm();

    // At a steady tempo from the start: the host's frame in beats.
    if (! position.getPpqPosition().hasValue() && bpm.hasValue() && position.getTimeInSamples().hasValue() && sampleRate > 0.0)
        position.setPpqPosition ((double) *position.getTimeInSamples() * *bpm / (60.0 * sampleRate));

    if (const auto ppq = position.getPpqPosition())
    {
        const auto signature = position.getTimeSignature().orFallback (TimeSignature {});
        const auto barLength = signature.numerator > 0 && signature.denominator > 0 ? 4.0 * signature.numerator / signature.denominator : 4.0;
        position.setPpqPositionOfLastBarStart (std::floor (*ppq / barLength) * barLength);
    }
}

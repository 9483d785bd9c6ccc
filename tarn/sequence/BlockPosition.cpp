#include "BlockPosition.h"

#include <cmath>

namespace tarn
{

bool BlockPosition::hasMusicalTime() const noexcept
{
    return hasTempo && std::isfinite (bpm) && bpm > 0.0 && hasPpqPosition && std::isfinite (ppqPosition);
}

bool BlockPosition::hasUsableLoop() const noexcept
{
    return isLooping && hasLoopPoints && std::isfinite (loopStartPpq) && std::isfinite (loopEndPpq)
           && loopEndPpq > loopStartPpq;
}

BlockPosition BlockPosition::fromPositionInfo (const juce::AudioPlayHead::PositionInfo& info) noexcept
{
    BlockPosition position;
    position.isPlaying = info.getIsPlaying();
    position.isLooping = info.getIsLooping();

    if (const auto bpm = info.getBpm())
    {
        position.hasTempo = true;
        position.bpm = *bpm;
    }

    if (const auto ppq = info.getPpqPosition())
    {
        position.hasPpqPosition = true;
        position.ppqPosition = *ppq;
    }

    if (const auto barStart = info.getPpqPositionOfLastBarStart())
    {
        position.hasLastBarStart = true;
        position.ppqPositionOfLastBarStart = *barStart;
    }

    if (const auto loop = info.getLoopPoints())
    {
        position.hasLoopPoints = true;
        position.loopStartPpq = loop->ppqStart;
        position.loopEndPpq = loop->ppqEnd;
    }

    if (const auto signature = info.getTimeSignature())
    {
        position.hasTimeSignature = true;
        position.timeSignatureNumerator = signature->numerator;
        position.timeSignatureDenominator = signature->denominator;
    }

    return position;
}

BlockPosition BlockPosition::playing (double ppq, double bpm) noexcept
{
    BlockPosition position;
    position.isPlaying = true;
    position.hasTempo = true;
    position.bpm = bpm;
    position.hasPpqPosition = true;
    position.ppqPosition = ppq;
    return position;
}

BlockPosition BlockPosition::advancedBy (int numSamples, double sampleRate) const noexcept
{
    auto next = *this;

    if (sampleRate > 0.0)
        next.ppqPosition += numSamples * bpm / (60.0 * sampleRate);

    return next;
}

} // namespace tarn

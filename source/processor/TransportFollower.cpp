#include "TransportFollower.h"

#include "InputRetrigger.h"

#include <cmath>

tarn::BlockPosition TransportFollower::follow (const std::optional<juce::AudioPlayHead::PositionInfo>& host, int numSamples, bool dawTransportOnly) noexcept
{
    internalClockRunning = false;

    if (! host.has_value())
        return {};

    auto position = tarn::BlockPosition::fromPositionInfo (*host);

    const auto clockCanRun = ! dawTransportOnly && ! position.isPlaying && position.hasMusicalTime()
                             && position.hasLastBarStart && sampleRate > 0.0;

    if (! clockCanRun)
        return position;

    position.isPlaying = true;
    position.ppqPosition = internalClockPpq;
    position.isLooping = false;

    const auto barLength = position.hasTimeSignature && position.timeSignatureDenominator > 0 && position.timeSignatureNumerator > 0
                               ? 4.0 * position.timeSignatureNumerator / position.timeSignatureDenominator
                               : 4.0;
    position.ppqPositionOfLastBarStart = std::floor (internalClockPpq / barLength) * barLength;

    internalClockPpq += numSamples * position.bpm / (60.0 * sampleRate);
    internalClockRunning = true;
    return position;
}

bool TransportFollower::hasJustStopped (const tarn::BlockPosition& position) noexcept
{
    const auto playing = isPlaying (position);
    const auto stopped = wasPlaying && ! playing;
    wasPlaying = playing;
    return stopped;
}

void TransportFollower::retrigger (const tarn::BlockPosition& position, int sample) noexcept
{
    if (position.hasMusicalTime())
        retriggerOrigin = InputRetrigger::positionOf (sample, position.ppqPosition, position.bpm, sampleRate);
}

tarn::BlockPosition TransportFollower::shiftedByOrigin (const tarn::BlockPosition& position) const noexcept
{
    if (! position.hasMusicalTime())
        return position;

    auto shifted = position;
    shifted.ppqPosition -= retriggerOrigin;
    shifted.ppqPositionOfLastBarStart -= retriggerOrigin;
    shifted.loopStartPpq -= retriggerOrigin;
    shifted.loopEndPpq -= retriggerOrigin;
    return shifted;
}

#include "CadenziumRendererPlayhead.h"

juce::Optional<juce::AudioPlayHead::PositionInfo> CadenziumRendererPlayhead::getPosition() const
{
    PositionInfo info;
    info.setIsPlaying (true);
    info.setBpm (bpm);
    info.setTimeSignature (TimeSignature { 4, 4 });
    info.setPpqPosition (quarterNotes);
    info.setPpqPositionOfLastBarStart (std::floor (quarterNotes / 4.0) * 4.0);
    info.setTimeInSamples (samples);
    info.setTimeInSeconds ((double) samples / sampleRate);
    return info;
}

void CadenziumRendererPlayhead::advance (int numSamples) noexcept
{
    quarterNotes += numSamples * 2.0 / sampleRate;
    samples += numSamples;
}

#include "StandaloneClock.h"

juce::Optional<juce::AudioPlayHead::PositionInfo> StandaloneClock::getPosition() const
{
    PositionInfo position;
    position.setBpm (bpm);
    position.setTimeSignature (TimeSignature { 4, 4 });
    position.setPpqPosition (0.0);
    position.setPpqPositionOfLastBarStart (0.0);
    position.setTimeInSamples (0);
    position.setTimeInSeconds (0.0);
    position.setIsPlaying (false);
    position.setIsRecording (false);
    position.setIsLooping (false);
    return position;
}

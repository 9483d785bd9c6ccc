#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

namespace tarn
{

/** Where the host's transport is for one block: what a player needs to place a phrase on the
    timeline. A plain value, built by the processor from the play head (or from its internal
    clock) once per block. [any thread]
*/
struct BlockPosition
{
    bool isPlaying = false;

    bool hasTempo = false;
    double bpm = 120.0;

    bool hasPpqPosition = false;
    double ppqPosition = 0.0; // quarter notes at the block's first sample

    bool hasLastBarStart = false;
    double ppqPositionOfLastBarStart = 0.0;

    bool isLooping = false;
    bool hasLoopPoints = false;
    double loopStartPpq = 0.0, loopEndPpq = 0.0;

    bool hasTimeSignature = false;
    int timeSignatureNumerator = 4, timeSignatureDenominator = 4;

    /** A usable tempo and musical position; hosts that report 0 bpm or no position give
        blocks in which nothing new can be placed. */
    bool hasMusicalTime() const noexcept;

    /** A host loop that can wrap: looping, with loop points, end after start. */
    bool hasUsableLoop() const noexcept;

    static BlockPosition fromPositionInfo (const juce::AudioPlayHead::PositionInfo& info) noexcept;

    /** A playing transport at this quarter-note position and tempo. */
    static BlockPosition playing (double ppq, double bpm) noexcept;

    /** The position `numSamples` later at the same tempo (the loop is not applied). */
    BlockPosition advancedBy (int numSamples, double sampleRate) const noexcept;
};

} // namespace tarn

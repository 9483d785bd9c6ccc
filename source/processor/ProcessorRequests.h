#pragma once

#include <juce_core/juce_core.h>

#include <atomic>

/** What the message thread (editor, host state, parameter changes) asks of the audio thread,
    each as one atomic word the audio thread reads at the start of a block. */
struct ProcessorRequests
{
    /** Refresh values: what changed so that sounding output notes must end first. */
    enum Refresh : juce::uint32
    {
        noRefresh = 0,
        playingPhraseChanged = 1,
        keyChanged = 2
    };

    /** Bits of ParameterChangeBits, set by parameterChanged (any thread). */
    std::atomic<juce::uint32> pendingParameterChanges { 0 };

    /** 1: send all-notes-off on the next block. */
    std::atomic<juce::uint8> panic { 0 };

    /** A controller message to send once, packed by ControllerPreview::pack; 0 for none. */
    std::atomic<juce::uint32> controllerPreview { 0 };

    /** The phrase slot that should play. */
    std::atomic<int> requestedPhraseIndex { 0 };

    /** A Refresh value. */
    std::atomic<juce::uint32> playbackRefresh { noRefresh };

    /** The swing grid choice: 1 gives a 0.25 quarter-note grid, 2 gives 0.5, anything else 1.0. */
    std::atomic<int> swingGridChoice { 0 };
};

#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

namespace tarn
{

/** A pre-sized MidiBuffer that a real-time stage writes a block's new events into before
    copying them back over the buffer it was handed.

    The copy back (rather than a swap) keeps each buffer's own storage where it is: a host
    or a caller that hands in a buffer of a different size never ends up with ours, and we
    never end up having to grow theirs on the audio thread.
*/
class MidiScratchBuffer
{
public:
    /** What one block may carry: a panic alone is 2064 events. */
    static constexpr int defaultEventCapacity = 4096;

    /** Time stamp, size and up to ten bytes of message: room for every channel message and
        the seven-byte wrapped phrase note. */
    static constexpr size_t bytesPerEvent = 16;

    static constexpr size_t bytesFor (int numEvents) noexcept { return (size_t) juce::jmax (1, numEvents) * bytesPerEvent; }

    /** Room for defaultEventCapacity events from the start. [message thread] */
    MidiScratchBuffer() { prepare(); }

    /** Allocates room for numEvents events. [message thread, or prepareToPlay] */
    void prepare (int numEvents = defaultEventCapacity) { buffer.ensureSize (bytesFor (numEvents)); }

    /** The empty scratch buffer, ready to be filled. [audio thread] */
    juce::MidiBuffer& start() noexcept
    {
        buffer.clear();
        return buffer;
    }

    juce::MidiBuffer& get() noexcept { return buffer; }

    /** Replaces target's events with the scratch buffer's. Allocates only when target has
        less room than the events need. [audio thread] */
    void copyTo (juce::MidiBuffer& target) const noexcept
    {
        target.data.clearQuick();
        target.data.addArray (buffer.data.begin(), buffer.data.size());
    }

private:
    juce::MidiBuffer buffer;
};

} // namespace tarn

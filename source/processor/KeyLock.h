#pragma once

#include "KeySignature.h"

#include <tarn/processor/MidiScratchBuffer.h>
#include <tarn/processor/MidiStage.h>
#include <tarn/processor/NoteTable.h>

#include <array>
#include <vector>

/** The output key lock: moves phrase notes into the key, and sends every note-off to the
    pitch its note-on was sent to.

    Run it on every block, telling it first (setKey) the key and whether the lock is on: a
    key change, or the lock going off, while a note sounds would otherwise send its note-off
    to another pitch and leave the first one hanging. The stage remembers, per channel and incoming note, the
    pitches its note-ons went to (oldest first) and answers note-offs from that memory.

    With the lock on, note-offs are moved ahead of other events at the same sample, so a
    note that ends where the next one on the same pitch starts does not cut the new one. A
    note-off is only moved when its note was already sounding before that sample; the
    note-off of a note that starts and ends at the same sample stays after its note-on.
*/
class KeyLock : public tarn::MidiStage
{
public:
    KeyLock();

    /** Sizes the scratch buffers. [message thread, or the host's prepare] */
    void prepare (double sampleRate, int maxEventsPerBlock) override;

    /** The key of this block, and whether the lock is on. [audio thread] */
    void setKey (const KeySignature& newKey, bool shouldLock) noexcept
    {
        key = newKey;
        lockOn = shouldLock;
    }

    /** Rewrites the block's phrase events in place. [audio thread] */
    void process (juce::MidiBuffer& events) noexcept override;

    /** Forgets the sent pitches, after every output note was ended another way (panic,
        bypass, refresh, transport stop). [audio thread] */
    void reset() noexcept override;

    /** How many note-ons are still waiting for their note-off. [audio thread] */
    int getNumSounding() const noexcept { return numSounding; }

private:
    // Per channel and incoming note, the pitches sent and not yet ended, oldest first, as
    // runs of equal pitches: repeated strikes under one key take a single run.
    static constexpr int maxRuns = 8;

    struct Run
    {
        juce::uint8 pitch = 0, count = 0;
    };

    struct SentPitches
    {
        std::array<Run, maxRuns> runs {};
        juce::uint8 first = 0, numRuns = 0;

        Run& at (int index) noexcept { return runs[(size_t) ((first + index) % maxRuns)]; }
        const Run& at (int index) const noexcept { return runs[(size_t) ((first + index) % maxRuns)]; }
    };

    tarn::NoteTable<SentPitches> sent;
    int numSounding = 0;
    KeySignature key;
    bool lockOn = false;

    tarn::MidiScratchBuffer scratch;
    std::vector<bool> movedAhead;

    int remember (int channel, int note, int pitch) noexcept;
    int takeOldest (int channel, int note) noexcept;
    int newest (int channel, int note) const noexcept;
    bool isSounding (int channel, int note) const noexcept { return sent.at (channel, note).numRuns > 0; }

    void emit (juce::MidiBuffer& out, const juce::MidiMessageMetadata& m) noexcept;
};

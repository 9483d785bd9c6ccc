#pragma once

#include <tarn/processor/MidiScratchBuffer.h>
#include <tarn/processor/MidiStage.h>
#include <tarn/processor/NoteTable.h>

#include <array>
#include <optional>
#include <vector>

/** The output swing: delays events towards the off-beat of each grid cell.

    Delayed events wait in a pre-sized pending list and come out in the block they fall
    into. Two guarantees on top of the timing rule, so that no note is left hanging:
    pending events still come out when swing goes off or the host stops giving a tempo
    (flushed at the start of the next block), and a note-off is never placed before the
    swung time of the note-on it ends (the shorter grids can move a note-on past its own
    note-off).
*/
class Swing : public tarn::MidiStage
{
public:
    /** The block's place on the host's timeline. */
    struct Position
    {
        double ppq = 0.0; // quarter notes
        double bpm = 0.0;
    };

    Swing();

    /** Stores the sample rate and sizes the pending list and scratch buffer.
        [message thread, or the host's prepare] */
    void prepare (double newSampleRate, int maxPendingEvents) override;

    /** swing_amount / 100, limited to 0..1. [audio thread] */
    void setAmount (double newAmount) noexcept { amount = juce::jlimit (0.0, 1.0, newAmount); }
    double getAmount() const noexcept { return amount; } // [audio thread]

    /** The swing grid selector's choice: 1 a sixteenth (0.25 quarter notes), 2 an eighth
        (0.5), anything else a quarter (1.0). [audio thread] */
    void setGridChoice (int choice) noexcept
    {
        grid = gridForChoice (choice);
    }
    double getGrid() const noexcept { return grid; } // [audio thread]
    static double gridForChoice (int choice) noexcept; // [any thread]

    /** Where an event at sample t of a block starting at ppq goes, rounded up to a whole
        sample (never earlier than t). [any thread] */
    static int swungTime (int t, double ppq, double samplesPerBeat, double grid, double amount) noexcept;

    /** The length of this block and its place on the timeline, if the host gives one.
        [audio thread] */
    void setBlock (int newNumSamples, std::optional<Position> newPosition) noexcept
    {
        numSamples = newNumSamples;
        position = newPosition;
    }

    /** Swings the block's events in place: the result holds the events (earlier delayed
        ones included) that fall inside this block. Without a position (or with a tempo of
        0) nothing is delayed. [audio thread] */
    void process (juce::MidiBuffer& events) noexcept override;

    /** Panic, bypass, refresh, transport stop: drops every pending event. Their note-ons
        never sound, and whoever ended the sounding notes ended the others. [audio thread] */
    void reset() noexcept override { pending.clear(); }

    /** [audio thread] */
    int getNumPending() const noexcept { return (int) pending.size(); }

private:
    struct PendingEvent
    {
        juce::int64 time; // samples from the start of the current block
        juce::uint8 bytes[3];
        juce::uint8 size;
    };

    double sampleRate = 44100.0;
    double amount = 0.0;
    double grid = 1.0;

    std::vector<PendingEvent> pending;
    size_t pendingCapacity = 0;
    tarn::MidiScratchBuffer scratch;

    int numSamples = 0;
    std::optional<Position> position;

    // Absolute sample of each channel and note's latest note-on, for keeping note-offs after it.
    tarn::NoteTable<juce::int64> noteOnTime;
    juce::int64 blockStart = 0;

    void flushPending (juce::MidiBuffer& out) noexcept;
    void rememberNoteOn (const juce::MidiMessageMetadata& m, juce::int64 time) noexcept;
};

#pragma once

#include "MidiScratchBuffer.h"
#include "MidiStage.h"
#include "NoteTable.h"

namespace tarn
{

/** Keeps released notes sounding until the next new input.

    While the latch is on, a note-off is withheld instead of passed on; the withheld
    note-offs all go out at the next note-on that arrives while no key is physically down
    (a new chord replaces the latched one), or at the start of the block after the latch is
    switched off.
*/
class NoteLatcher : public MidiStage
{
public:
    /** Switching the latch off releases the latched notes at the next block and forgets
        which keys are down, since no note-off reaches the latcher while it is off and the
        list would otherwise stay stale for good. [audio thread] */
    void setLatchActive (bool shouldBeActive) noexcept;
    bool isLatchActive() const noexcept { return latchActive; } // [audio thread]

    /** Sends every withheld note-off at the start of the next block. [audio thread] */
    void requestRelease() noexcept { releaseRequested = true; }

    /** Forgets pressed and latched notes without sending anything. Called when panic,
        bypass or a controller preview clears the held-note list (those blocks never reach
        the latcher). [audio thread] */
    void reset() noexcept override;

    /** [audio thread] */
    int getNumPressedKeys() const noexcept { return numPressed; }
    int getNumLatchedNotes() const noexcept { return numLatched; }

    void prepare (double sampleRate, int maxEventsPerBlock) override; // [message thread]
    void process (juce::MidiBuffer& midi) noexcept override; // [audio thread]

private:
    bool latchActive = false;
    bool releaseRequested = false;

    NoteTable<bool> pressed;
    int numPressed = 0;

    // How many note-offs are withheld per channel and note; a key struck twice while another
    // is down is latched twice.
    NoteTable<juce::uint8> latched;
    int numLatched = 0;

    MidiScratchBuffer scratch;

    void releaseLatched (juce::MidiBuffer& out, int sample) noexcept;
};

} // namespace tarn

#pragma once

#include "InputNoteTable.h"
#include "KeySignature.h"

#include <tarn/processor/MidiScratchBuffer.h>

/** Input notes sent straight to the output: note passthrough (optionally moved into the
    key) and bypass.

    Each key's note-off goes to the note its note-on was sent as, remembered in the input
    note table, whatever passthrough, key lock or bypass say by the time the key is
    released.
*/
class NotePassthrough
{
public:
    /** Shares the table with KeyswitchExtractor. [message thread] */
    explicit NotePassthrough (InputNoteTable& table);

    /** [message thread, or prepareToPlay] */
    void prepare (int maxEventsPerBlock = tarn::MidiScratchBuffer::defaultEventCapacity) { scratch.prepare (maxEventsPerBlock); }

    /** Adds to passthroughList a copy of input's note-ons when enabled (moved into
        lockKey's key when it is given), and the note-off of every key that was passed
        through before, at the note it was sent as. Input is what is left after keyswitch
        extraction. [audio thread] */
    void collect (const juce::MidiBuffer& input, juce::MidiBuffer& passthroughList, bool enabled, const KeySignature* lockKey) noexcept;

    /** A bypassed block: the input passes unchanged and its keys are remembered as passed
        through, so their note-offs are answered correctly after bypass ends; the release of
        a key that was passed through as another note also ends that note. [audio thread] */
    void passBypassed (juce::MidiBuffer& midi) noexcept;

private:
    InputNoteTable& table;
    tarn::MidiScratchBuffer scratch;
};

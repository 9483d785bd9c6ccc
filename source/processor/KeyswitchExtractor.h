#pragma once

#include "InputNoteTable.h"

#include <tarn/processor/MidiScratchBuffer.h>

#include <array>

/** A keyswitch key pressed or released in a block. */
struct KeyswitchEvent
{
    int slot = 0; // 0..11
    bool pressed = false;
    int sample = 0;
};

/** A block's keyswitch events in time order, in a fixed-size list. A plain value; the
    processor's instance lives on the audio thread. */
class KeyswitchEvents
{
public:
    static constexpr int capacity = 256;

    void clear() noexcept { count = 0; }
    void add (const KeyswitchEvent& e) noexcept;
    int size() const noexcept { return count; }
    bool isEmpty() const noexcept { return count == 0; }
    const KeyswitchEvent& operator[] (int index) const noexcept { return events[(size_t) index]; }
    const KeyswitchEvent* begin() const noexcept { return events.data(); }
    const KeyswitchEvent* end() const noexcept { return events.data() + count; }

    /** What a block's keyswitches do to the playing phrase. */
    struct Decision
    {
        int newSlot = -1; // the phrase that plays from now on, or -1 when it stays
        int switchSample = -1; // the first press that left the playing phrase: its notes end here
        int startSample = -1; // the last press: the phrase (re)starts and its gate opens here
        int stopSample = -1; // the first release of the resulting phrase's key after that press
    };

    /** Every press selects its slot in turn, so the phrase that plays afterwards is the one
        whose key was pressed last (two keys struck within one block end where the player's
        hand ended). [audio thread] */
    Decision decide (int currentIndex) const noexcept;

private:
    std::array<KeyswitchEvent, capacity> events {};
    int count = 0;
};

/** Takes the keyswitch keys out of the input.

    Slot i listens to note 12 * keyswitch_range + i. Whether a key is a keyswitch is decided
    at its press and remembered in the input note table, so its release is taken out (or
    left in) the same way even if the range or the switch changed meanwhile.
*/
class KeyswitchExtractor
{
public:
    static constexpr int numSlots = 12;

    /** Shares the table with NotePassthrough. [message thread] */
    explicit KeyswitchExtractor (InputNoteTable& table);

    /** [message thread, or prepareToPlay] */
    void prepare (int maxEventsPerBlock = tarn::MidiScratchBuffer::defaultEventCapacity) { scratch.prepare (maxEventsPerBlock); }

    /** keyswitch_enable [audio thread] */
    void setEnabled (bool shouldBeEnabled) noexcept { enabled = shouldBeEnabled; }
    bool isEnabled() const noexcept { return enabled; } // [audio thread]

    /** keyswitch_range, 0..10 [audio thread] */
    void setRange (int rangeChoice) noexcept { range = juce::jlimit (0, 10, rangeChoice); }
    int getRange() const noexcept { return range; } // [audio thread]

    int getNoteForSlot (int slot) const noexcept { return 12 * range + slot; } // [audio thread]

    /** The slot a press of note would select now, or -1. [audio thread] */
    int slotForNote (int note) const noexcept;

    /** What a release is taken as, from what its press was taken as (or unknown). */
    int releasedSlot (int press, int channel, int note) const noexcept;

    /** Whether extract() will take this note event out, without changing anything; for the
        input retrigger, which looks at the input before extraction. [audio thread] */
    bool isKeyswitchEvent (const juce::MidiMessageMetadata& m) const noexcept;

    /** Removes the keyswitch notes from input and adds their events. Run it on every
        block, even with keyswitches off: releases of keys pressed while they were on still
        come out as keyswitch releases. [audio thread] */
    void extract (juce::MidiBuffer& input, KeyswitchEvents& events) noexcept;

private:
    InputNoteTable& table;
    tarn::MidiScratchBuffer scratch;
    bool enabled = true;
    int range = 2;
};

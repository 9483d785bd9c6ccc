#pragma once

#include <tarn/processor/NoteTable.h>

#include <juce_core/juce_core.h>

/** What became of each input key at its press, so that its release is handled the same
    way whatever the settings are by then.

    Per input channel and note it keeps whether the press was taken as a keyswitch (and for
    which slot), and which note was sent straight to the output for it (note passthrough,
    with or without key lock, or bypass). Changing the keyswitch range or switch, the
    passthrough, the key lock or bypass while a key is down would otherwise misroute its
    release: a key stuck in the held chord, a gate left open, a passed note never ended.
    Audio thread only.
*/
class InputNoteTable
{
public:
    static constexpr int ordinaryNote = -1;
    static constexpr int unknown = -2;

    /** Records a press: keyswitchSlot 0..11, or ordinaryNote. [audio thread] */
    void rememberPress (int channelIndex, int note, int keyswitchSlot) noexcept { press (channelIndex, note) = (juce::int8) keyswitchSlot; }

    /** What the key's press was taken as, without forgetting it: a slot, ordinaryNote, or
        unknown when no press was seen. [audio thread] */
    int peekPress (int channelIndex, int note) const noexcept { return presses.at (channelIndex, note); }

    /** Like peekPress, and forgets the press. [audio thread] */
    int takePress (int channelIndex, int note) noexcept;

    /** The output note a press was passed straight through as. The same key may be down
        twice on one channel (the host's and the on-screen keyboard's), so each key counts
        its passed presses, and each release ends one. [audio thread] */
    void rememberRawNote (int channelIndex, int note, int sentNote) noexcept;

    /** Whether the key is sounding at the output as it was passed through. [audio thread] */
    bool hasRawNote (int channelIndex, int note) const noexcept { return rawCounts.at (channelIndex, note) > 0; }

    /** The output note one passed press of the key went out as, forgotten here; -1 if
        none. [audio thread] */
    int takeRawNote (int channelIndex, int note) noexcept;

    /** After a panic ended every output note. [audio thread] */
    void forgetRawNotes() noexcept;

    void clear() noexcept;

private:
    tarn::NoteTable<juce::int8> presses { (juce::int8) unknown };
    tarn::NoteTable<juce::int8> rawNotes { -1 };
    tarn::NoteTable<juce::uint8> rawCounts { 0 };

    juce::int8& press (int channelIndex, int note) noexcept { return presses.at (channelIndex, note); }
    juce::int8& raw (int channelIndex, int note) noexcept { return rawNotes.at (channelIndex, note); }
};

#pragma once

#include "ChordSources.h"

#include <bitset>
#include <vector>

/** Turns the playing phrase's events (row numbers) into output notes from the held chord.

    Every output note a row note-on starts is remembered with the row, the phrase event's
    channel and the output channel and pitch it went to. A row note-off ends every note
    remembered for its (row, channel), where it was sent: changing the chord, a row's
    channel, mute or the row list while a note sounds never strands it, and repeated
    strikes of one phrase note all end with its note-off.
*/
class RowResolver
{
public:
    struct Options
    {
        bool fill = true; // input_fill
        bool velocityPassthrough = false; // velocity_passthrough
    };

    /** Output notes that may sound at once; a note-on beyond it is not sent, since it could
        not be ended. */
    static constexpr int maxSoundingNotes = 4096;

    /** Output note-ons one block may start. */
    static constexpr int maxNoteOnsPerBlock = 2048;

    RowResolver();

    /** Takes the chord for this block, after the held-note list was updated. [audio thread] */
    void setChord (const HeldNotes& held) noexcept { chord.build (held); }

    /** Adds the output of the phrase's events to output. Pitch-offset messages are
        unwrapped; other system-exclusive and meta events are dropped; controller and other
        channel messages pass unchanged. [audio thread] */
    void resolve (const juce::MidiBuffer& phraseEvents, juce::MidiBuffer& output, const RowList& rows, Options options) noexcept;

    /** Forgets the sounding notes after they were all ended another way (panic, bypass,
        refresh, preview, transport stop). [audio thread] */
    void clearSounding() noexcept { sounding.clear(); }

    /** [audio thread] */
    int getNumSoundingNotes() const noexcept { return (int) sounding.size(); }

    /** The rows that have a note sounding. [audio thread] */
    std::bitset<128> getSoundingRows() const noexcept;

private:
    struct SoundingNote
    {
        juce::uint8 row, phraseChannel, outputChannel, pitch;
    };

    ChordSources chord;
    SourceNotes sources;
    std::vector<SoundingNote> sounding;

    void startRow (const CadenziumModifier& row, int rowIndex, int phraseChannel, int velocity, int offset, int sample, juce::MidiBuffer& output, Options options, int& noteOnsLeft) noexcept;
    void endRow (int rowIndex, int phraseChannel, int velocity, int sample, juce::MidiBuffer& output) noexcept;
    void touchRow (int rowIndex, int phraseChannel, int pressure, int sample, juce::MidiBuffer& output) const noexcept;
};

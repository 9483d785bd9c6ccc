#pragma once

#include <tarn/processor/NoteTable.h>

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>
#include <bitset>

/** Which output notes sound, as counts per channel and note: a synth that stacks voices
    needs one note-off per note-on. Audio thread only. */
class OutputNoteTracker
{
public:
    /** Counts the note-ons and note-offs of an output block. [audio thread] */
    void record (const juce::MidiBuffer& output) noexcept;

    /** [audio thread] */
    void noteOn (int channelIndex, int note) noexcept;
    void noteOff (int channelIndex, int note) noexcept;

    /** Adds note-offs at sample for everything still sounding, as many as were started,
        and forgets them: panic, bypass, refresh, controller preview, transport stop.
        [audio thread] */
    void endAll (juce::MidiBuffer& output, int sample) noexcept;

    void clear() noexcept;

    bool isAnythingSounding() const noexcept { return numSounding > 0; }
    int getNumSounding() const noexcept { return numSounding; }
    int getCount (int channelIndex, int note) const noexcept { return counts.at (channelIndex, note); }

    /** Which notes sound, one set per channel index 0..15. */
    using SoundingNotes = std::array<std::bitset<128>, 16>;
    const SoundingNotes& getSoundingNotes() const noexcept { return sounding; }

private:
    tarn::NoteTable<juce::uint8> counts;
    SoundingNotes sounding;
    int numSounding = 0;
};

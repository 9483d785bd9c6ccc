#pragma once

#include <array>
#include <bitset>

/** What the editor shows of playback, as one block left it: which phrase plays and where,
    which rows sound and which notes the phrase sends. The block pipeline publishes one per
    block through a triple buffer; the editor copies it on its timer, neither side waiting.
    A plain value: copying it never allocates. */
struct PlaybackDisplay
{
    int playingPhrase = 0; // 0..11

    /** Where in the playing phrase the last block ended, in ticks; -1 while it plays nothing
        (the transport stopped, no phrase, the loop limit reached). */
    double playheadTick = -1.0;

    /** Rows with a note sounding. */
    std::bitset<128> soundingRows;

    /** The phrase's output notes that sound, after the output chain, per channel index
        0..15 (passed-through input notes are not among them). */
    std::array<std::bitset<128>, 16> soundingNotes;

    bool isNoteSounding (int channel, int note) const noexcept
    {
        return channel >= 1 && channel <= 16 && note >= 0 && note < 128 && soundingNotes[(size_t) channel - 1][(size_t) note];
    }
};

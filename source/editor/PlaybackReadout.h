#pragma once

#include <bitset>

class Cadenzium2AudioProcessor;

/** What the editor shows of playback, read from the processor's lock-free playback display
    once per timer tick: the rows that sound and the output notes that sound (any channel).
    [message thread] */
struct PlaybackReadout
{
    std::bitset<128> soundingRows;
    std::bitset<128> soundingNotes;

    static PlaybackReadout read (Cadenzium2AudioProcessor& processor);
};

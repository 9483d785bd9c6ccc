#include "PlaybackReadout.h"

#include <source/processor/Cadenzium2AudioProcessor.h>

PlaybackReadout PlaybackReadout::read (Cadenzium2AudioProcessor& processor)
{
    const auto display = processor.getPlaybackDisplay();

    PlaybackReadout readout;
    readout.soundingRows = display.soundingRows;

    for (const auto& channel : display.soundingNotes)
        readout.soundingNotes |= channel;

    return readout;
}

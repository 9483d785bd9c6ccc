#include "PlaybackReadout.h"

#include <source/processor/Cadenzium2AudioProcessor.h>

PlaybackReadout PlaybackReadout::read (Cadenzium2AudioProcessor& processor)
{
    PlaybackReadout readout;
    readout.playingPhrase = processor.getPlayingPhrase();

    auto& output = processor.getOutputKeyboardState();
    for (int note = 0; note < 128; ++note)
        if (output.isNoteOnForChannels (0xffff, note))
            readout.soundingNotes.set ((size_t) note);

    // The processor does not publish its sounding rows yet: no row lights up until it does.
    return readout;
}

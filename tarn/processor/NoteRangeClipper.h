#pragma once

#include "MidiScratchBuffer.h"
#include "MidiStage.h"
#include "NoteTable.h"

namespace tarn
{

/** Passes notes low <= n < high and removes the others; everything else passes.

    A note-off always follows its note-on: the clipper counts, per channel and note, the
    note-ons it let through, and lets their note-offs through whatever the range is by then,
    so narrowing the range while a note sounds never strands it. A note-off it has no
    note-on for is removed: widening the range never lets out the end of a note that was
    never started.
*/
class NoteRangeClipper : public MidiStage
{
public:
    /** Each bound 0..127; a high below low is raised to low. [audio thread] */
    void setRange (int newLow, int newHigh) noexcept;
    int getLow() const noexcept { return low; } // [audio thread]
    int getHigh() const noexcept { return high; }

    void prepare (double sampleRate, int maxEventsPerBlock) override; // [message thread]
    void process (juce::MidiBuffer& midi) noexcept override; // [audio thread]

    /** Forgets the passed notes, after everything sounding was ended another way (panic,
        bypass, refresh). [audio thread] */
    void reset() noexcept override { passed.fill (0); }

private:
    int low = 0, high = 127;
    NoteTable<juce::uint16> passed;
    MidiScratchBuffer scratch;
};

} // namespace tarn

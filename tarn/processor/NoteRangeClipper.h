#pragma once

#include "MidiEffectProcessor.h"

#include <array>

namespace tarn
{

/** Passes notes low <= n < high and removes the others; everything else passes.

    A note-off always follows its note-on: the clipper counts, per channel and note, the
    note-ons it let through, and lets their note-offs through whatever the range is by then,
    so narrowing the range while a note sounds never strands it. A note-off it has no
    note-on for is removed: widening the range never lets out the end of a note that was
    never started.
*/
class NoteRangeClipper : public MidiEffectProcessor
{
public:
    NoteRangeClipper();
    ~NoteRangeClipper() override;

    /** Each bound 0..127; a high below low is raised to low. [audio thread] */
    void setRange (int newLow, int newHigh) noexcept;
    int getLow() const noexcept { return low; } // [audio thread]
    int getHigh() const noexcept { return high; }

    /** Forgets the passed notes, after everything sounding was ended another way (panic,
        bypass, refresh). [audio thread] */
    void reset() noexcept;

    /** [audio thread] */
    void processBlock (juce::AudioBuffer<float>& audio, juce::MidiBuffer& midi) override;
    using MidiEffectProcessor::processBlock;

private:
    int low = 0, high = 127;
    std::array<std::array<juce::uint16, 128>, 16> passed {};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (NoteRangeClipper)
};

} // namespace tarn

#pragma once

#include "BaseEffectProcessor.h"
#include "MidiNotes.h"
#include "MidiScratchBuffer.h"

namespace tarn
{

/** An effect that rewrites a block's MIDI in place and leaves the audio alone.

    prepareToPlay sizes the scratch buffer every rewrite goes through, so processBlock
    allocates nothing. The owning processor calls processBlock directly on its audio
    thread; setters of subclasses are called there too (at the start of a block).
*/
class MidiEffectProcessor : public BaseEffectProcessor
{
public:
    explicit MidiEffectProcessor (const juce::String& effectName);
    ~MidiEffectProcessor() override;

    /** Sizes the scratch buffer for maxEventsPerBlock events. [message thread] */
    void prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock) override;

    /** How many events one block may carry through this effect without allocating. [message thread] */
    void setMaxEventsPerBlock (int numEvents);

protected:
    MidiScratchBuffer scratch;

    /** Gives every note-on and note-off a new velocity, newVelocity (oldVelocity), and
        passes everything else. A note-on never leaves with velocity 0 (that would be a
        note-off and lose the note), and a note-on with velocity 0 stays a note-off. */
    template <typename VelocityFunction>
    void rewriteVelocities (juce::MidiBuffer& midi, VelocityFunction&& newVelocity) noexcept
    {
        auto& out = scratch.start();

        for (const auto m : midi)
        {
            if (MidiNotes::isNoteOn (m))
            {
                const auto v = juce::jlimit (1, 127, (int) newVelocity (MidiNotes::velocityOf (m)));
                MidiNotes::add (out, m.data[0], m.data[1], v, m.samplePosition);
            }
            else if (MidiNotes::statusOf (m) == 0x80 && m.numBytes >= 3)
            {
                const auto v = juce::jlimit (0, 127, (int) newVelocity (MidiNotes::velocityOf (m)));
                MidiNotes::add (out, m.data[0], m.data[1], v, m.samplePosition);
            }
            else
            {
                out.addEvent (m.data, m.numBytes, m.samplePosition);
            }
        }

        scratch.copyTo (midi);
    }

private:
    int maxEventsPerBlock = MidiScratchBuffer::defaultEventCapacity;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiEffectProcessor)
};

} // namespace tarn

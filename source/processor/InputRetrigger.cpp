#include "InputRetrigger.h"

#include <tarn/processor/MidiNotes.h>

#include <bitset>

namespace notes = tarn::MidiNotes;

int InputRetrigger::findTrigger (const juce::MidiBuffer& input, int mode, const KeyswitchExtractor& keyswitches, const HeldNotes& heldAtBlockStart) noexcept
{
    if (mode <= off || mode > allNotesOff)
        return -1;

    std::bitset<128> held;

    if (mode == allNotesOff)
        for (const auto& n : heldAtBlockStart)
            held.set ((size_t) (n.note & 127));

    for (const auto m : input)
    {
        if (! notes::isNoteOnOrOff (m) || keyswitches.isKeyswitchEvent (m))
            continue;

        const auto isOn = notes::isNoteOn (m);

        switch (mode)
        {
            case noteOnAndOff:
                return m.samplePosition;

            case noteOn:
            case noteOff:
                if (isOn == (mode == noteOn))
                    return m.samplePosition;
                break;

            case allNotesOff:
                if (isOn && held.none())
                    return m.samplePosition;

                held.set ((size_t) notes::noteOf (m), isOn);
                break;

            default:
                break;
        }
    }

    return -1;
}

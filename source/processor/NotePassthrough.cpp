#include "NotePassthrough.h"

#include <tarn/processor/MidiNotes.h>

namespace notes = tarn::MidiNotes;

NotePassthrough::NotePassthrough (InputNoteTable& t)
    : table (t)
{
    prepare();
}

void NotePassthrough::collect (const juce::MidiBuffer& input, juce::MidiBuffer& passthroughList, bool enabled, const KeySignature* lockKey) noexcept
{
    for (const auto m : input)
    {
        if (! notes::isNoteOnOrOff (m))
            continue;

        const auto channel = notes::channelIndexOf (m);
        const auto note = notes::noteOf (m);

        if (notes::isNoteOn (m))
        {
            if (! enabled)
                continue;

            const auto sent = lockKey != nullptr ? lockKey->lockNote (note) : note;
            notes::add (passthroughList, m.data[0], sent, m.data[2], m.samplePosition);
            table.rememberRawNote (channel, note, sent);
        }
        else if (const auto sent = table.takeRawNote (channel, note); sent >= 0)
        {
            notes::addNoteOff (passthroughList, channel, sent, m.samplePosition, (m.data[0] & 0xf0) == 0x80 ? m.data[2] : 0);
        }
    }
}

void NotePassthrough::passBypassed (juce::MidiBuffer& midi) noexcept
{
    auto& out = scratch.start();

    for (const auto m : midi)
    {
        out.addEvent (m.data, m.numBytes, m.samplePosition);

        if (! notes::isNoteOnOrOff (m))
            continue;

        const auto channel = notes::channelIndexOf (m);
        const auto note = notes::noteOf (m);

        if (notes::isNoteOn (m))
        {
            // The synth hears this key now, keyswitch or not: after bypass its release must
            // reach the output, not the keyswitch handling.
            table.rememberPress (channel, note, InputNoteTable::ordinaryNote);
            table.rememberRawNote (channel, note, note);
        }
        else
        {
            table.takePress (channel, note);

            if (const auto sent = table.takeRawNote (channel, note); sent >= 0 && sent != note)
                notes::addNoteOff (out, channel, sent, m.samplePosition);
        }
    }

    scratch.copyTo (midi);
}

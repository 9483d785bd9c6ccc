#include "KeyswitchExtractor.h"

#include <tarn/processor/MidiNotes.h>

namespace notes = tarn::MidiNotes;

void KeyswitchEvents::add (const KeyswitchEvent& e) noexcept
{
    if (count < capacity)
        events[(size_t) count++] = e;
}

KeyswitchEvents::Decision KeyswitchEvents::decide (int currentIndex) const noexcept
{
    Decision decision;
    auto playing = currentIndex;
    auto releasesFrom = 0;

    for (int i = 0; i < count; ++i)
    {
        const auto& e = events[(size_t) i];

        if (! e.pressed)
            continue;

        if (e.slot != playing)
        {
            if (decision.switchSample < 0)
                decision.switchSample = e.sample;

            playing = e.slot;
        }

        decision.startSample = e.sample;
        releasesFrom = i + 1;
    }

    if (playing != currentIndex)
        decision.newSlot = playing;

    for (int i = releasesFrom; i < count; ++i)
    {
        if (const auto& e = events[(size_t) i]; ! e.pressed && e.slot == playing)
        {
            decision.stopSample = e.sample;
            break;
        }
    }

    return decision;
}

//==============================================================================
KeyswitchExtractor::KeyswitchExtractor (InputNoteTable& t)
    : table (t)
{
    prepare();
}

int KeyswitchExtractor::slotForNote (int note) const noexcept
{
    const auto slot = note - 12 * range;
    return enabled && slot >= 0 && slot < numSlots ? slot : -1;
}

bool KeyswitchExtractor::isKeyswitchEvent (const juce::MidiMessageMetadata& m) const noexcept
{
    if (notes::isNoteOn (m))
        return slotForNote (notes::noteOf (m)) >= 0;

    if (notes::isNoteOff (m))
        return releasedSlot (table.peekPress (notes::channelIndexOf (m), notes::noteOf (m)), notes::channelIndexOf (m), notes::noteOf (m)) >= 0;

    return false;
}

int KeyswitchExtractor::releasedSlot (int press, int channel, int note) const noexcept
{
    if (press != InputNoteTable::unknown)
        return press;

    // A press this table no longer knows (the same key pressed again on the screen keyboard,
    // say) but whose note went out raw: its release ends that note, keyswitch range or not.
    if (table.hasRawNote (channel, note))
        return InputNoteTable::ordinaryNote;

    return slotForNote (note);
}

void KeyswitchExtractor::extract (juce::MidiBuffer& input, KeyswitchEvents& events) noexcept
{
    auto& out = scratch.start();
    auto removedAny = false;

    for (const auto m : input)
    {
        if (notes::isNoteOnOrOff (m))
        {
            const auto channel = notes::channelIndexOf (m);
            const auto note = notes::noteOf (m);

            if (notes::isNoteOn (m))
            {
                const auto slot = slotForNote (note);
                table.rememberPress (channel, note, slot >= 0 ? slot : InputNoteTable::ordinaryNote);

                if (slot >= 0)
                {
                    events.add ({ slot, true, m.samplePosition });
                    removedAny = true;
                    continue;
                }
            }
            else
            {
                const auto slot = releasedSlot (table.takePress (channel, note), channel, note);

                if (slot >= 0)
                {
                    events.add ({ slot, false, m.samplePosition });
                    removedAny = true;
                    continue;
                }
            }
        }

        out.addEvent (m.data, m.numBytes, m.samplePosition);
    }

    if (removedAny)
        scratch.copyTo (input);
}

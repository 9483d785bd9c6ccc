#include "SwitchableSequencePlayer.h"

namespace tarn
{

SwitchableSequencePlayer::SwitchableSequencePlayer()
{
    for (int slot = 0; slot < numSlots; ++slot)
        keyswitchMap[(size_t) slot] = { slot, slot, true };

    createPlayers();
}

SwitchableSequencePlayer::~SwitchableSequencePlayer()
{
    for (auto* player : players)
        player->removeListener (this);
}

void SwitchableSequencePlayer::createPlayers()
{
    players.clear();

    for (int slot = 0; slot < numSlots; ++slot)
        players.add (new MidiMessageSequencePlayer())->addListener (this);
}

MidiMessageSequencePlayer& SwitchableSequencePlayer::getPlayer (int slot) const noexcept
{
    jassert (juce::isPositiveAndBelow (slot, players.size()));
    return *players.getUnchecked (juce::jlimit (0, players.size() - 1, slot));
}

int SwitchableSequencePlayer::getSlotOf (const MidiMessageSequencePlayer& player) const noexcept
{
    return players.indexOf (&player);
}

bool SwitchableSequencePlayer::applyRequestedIndex (int requestedIndex)
{
    if (! juce::isPositiveAndBelow (requestedIndex, players.size()) || requestedIndex == getCurrentIndex())
        return false;

    currentIndex.store (requestedIndex, std::memory_order_release);
    switchedFlag.store (true, std::memory_order_release);
    listeners.call ([this] (Listener& l)
                    { l.sequenceNumberChanged (*this); });
    return true;
}

void SwitchableSequencePlayer::setKeyswitchMapping (const KeyswitchMapping& mapping) noexcept
{
    if (juce::isPositiveAndBelow (mapping.slot, numSlots))
        keyswitchMap[(size_t) mapping.slot] = mapping;
}

const SwitchableSequencePlayer::KeyswitchMapping& SwitchableSequencePlayer::getKeyswitchMapping (int slot) const noexcept
{
    return keyswitchMap[(size_t) juce::jlimit (0, numSlots - 1, slot)];
}

int SwitchableSequencePlayer::findKeyswitchSlot (int noteNumber) const noexcept
{
    for (const auto& mapping : keyswitchMap)
        if (mapping.enabled && mapping.note == noteNumber)
            return mapping.slot;

    return -1;
}

void SwitchableSequencePlayer::setKeyswitchOptions (bool enable, bool hold, bool retrigger)
{
    keyswitchEnable = enable;

    for (auto* player : players)
        player->setKeyswitchOptions (enable, hold, retrigger);
}

//==============================================================================
MidiMessageSequencePlayer::BlockResult SwitchableSequencePlayer::playBlock (juce::MidiBuffer& output,
                                                                            int numSamples,
                                                                            const BlockPosition& position,
                                                                            const SelectingEvent* events,
                                                                            int numEvents)
{
    // A slot requested since the last block: the old slot's notes end before anything else.
    if (switchedFlag.exchange (false, std::memory_order_acq_rel))
        endNotesOfOtherSlots (output, 0);

    int startSample = -1, stopSample = -1;

    if (events != nullptr)
    {
        // The first press decides the slot; later presses in the same block are ignored.
        for (int i = 0; keyswitchEnable && i < numEvents; ++i)
        {
            const auto& event = events[i];

            if (! event.pressed || ! juce::isPositiveAndBelow (event.slot, players.size()))
                continue;

            if (event.slot != getCurrentIndex())
            {
                currentIndex.store (event.slot, std::memory_order_release);
                endNotesOfOtherSlots (output, event.sample);
                listeners.call ([this] (Listener& l)
                                { l.sequenceNumberChanged (*this); });
            }

            startSample = event.sample;
            break;
        }

        // A release closes the gate even after keyswitching was switched off: the key was
        // pressed while it was on, and the gate would otherwise stay open for good.
        for (int i = 0; i < numEvents; ++i)
        {
            if (! events[i].pressed && events[i].slot == getCurrentIndex())
            {
                stopSample = events[i].sample;
                break;
            }
        }
    }

    return getPlayer (getCurrentIndex()).playBlock (output, numSamples, position, startSample, stopSample);
}

void SwitchableSequencePlayer::endNotesOfOtherSlots (juce::MidiBuffer& output, int sample)
{
    const auto current = getCurrentIndex();

    for (int slot = 0; slot < players.size(); ++slot)
        if (slot != current)
            players.getUnchecked (slot)->endHeldNotes (output, sample);
}

void SwitchableSequencePlayer::endHeldNotes (juce::MidiBuffer& output, int sample)
{
    for (auto* player : players)
        player->endHeldNotes (output, sample);
}

void SwitchableSequencePlayer::resetLoopCountAndOrigin()
{
    getPlayer (getCurrentIndex()).resetLoopCountAndOrigin();
}

void SwitchableSequencePlayer::prepare (double sampleRate)
{
    for (auto* player : players)
        player->prepare (sampleRate);
}

void SwitchableSequencePlayer::addListener (Listener* listener)
{
    listeners.add (listener);
}

void SwitchableSequencePlayer::removeListener (Listener* listener)
{
    listeners.remove (listener);
}

//==============================================================================
void SwitchableSequencePlayer::pendingConsumed (MidiMessageSequencePlayer& player)
{
    const auto slot = getSlotOf (player);
    listeners.call ([slot] (Listener& l)
                    { l.pendingNeeded (slot); });
}

void SwitchableSequencePlayer::looped (MidiMessageSequencePlayer& player)
{
    listeners.call ([&player] (Listener& l)
                    { l.sequenceLooped (player); });
}

} // namespace tarn

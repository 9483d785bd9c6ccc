#include "SwitchableSequencePlayer.h"

namespace tarn
{

SwitchableSequencePlayer::SwitchableSequencePlayer()
{
    for (auto& player : players)
        player = std::make_unique<MidiMessageSequencePlayer>();
}

MidiMessageSequencePlayer& SwitchableSequencePlayer::getPlayer (int slot) const noexcept
{
    jassert (juce::isPositiveAndBelow (slot, numSlots));
    return *players[(size_t) juce::jlimit (0, numSlots - 1, slot)];
}

void SwitchableSequencePlayer::switchTo (int slot) noexcept
{
    currentIndex.store (slot, std::memory_order_release);
    slotChanged.store (true, std::memory_order_release);
}

bool SwitchableSequencePlayer::applyRequestedIndex (int requestedIndex) noexcept
{
    if (! juce::isPositiveAndBelow (requestedIndex, numSlots) || requestedIndex == getCurrentIndex())
        return false;

    switchTo (requestedIndex);
    switchedFlag.store (true, std::memory_order_release);
    return true;
}

void SwitchableSequencePlayer::setKeyswitchOptions (bool enable, bool hold, bool retrigger) noexcept
{
    keyswitchEnable = enable;

    for (auto& player : players)
        player->setKeyswitchOptions (enable, hold, retrigger);
}

//==============================================================================
MidiMessageSequencePlayer::BlockResult SwitchableSequencePlayer::playBlock (juce::MidiBuffer& output,
                                                                            int numSamples,
                                                                            const BlockPosition& position,
                                                                            const SelectingEvent* events,
                                                                            int numEvents) noexcept
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

            if (! event.pressed || ! juce::isPositiveAndBelow (event.slot, numSlots))
                continue;

            if (event.slot != getCurrentIndex())
            {
                switchTo (event.slot);
                endNotesOfOtherSlots (output, event.sample);
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

    const auto slot = getCurrentIndex();
    const auto result = getPlayer (slot).playBlock (output, numSamples, position, startSample, stopSample);

    if (result.passesCompleted > 0)
        loopedSlots.fetch_or (1u << slot, std::memory_order_acq_rel);

    return result;
}

void SwitchableSequencePlayer::endNotesOfOtherSlots (juce::MidiBuffer& output, int sample) noexcept
{
    const auto current = getCurrentIndex();

    for (int slot = 0; slot < numSlots; ++slot)
        if (slot != current)
            players[(size_t) slot]->endHeldNotes (output, sample);
}

void SwitchableSequencePlayer::endHeldNotes (juce::MidiBuffer& output, int sample) noexcept
{
    for (auto& player : players)
        player->endHeldNotes (output, sample);
}

void SwitchableSequencePlayer::resetLoopCountAndOrigin() noexcept
{
    getPlayer (getCurrentIndex()).resetLoopCountAndOrigin();
}

void SwitchableSequencePlayer::prepare (double sampleRate) noexcept
{
    for (auto& player : players)
        player->prepare (sampleRate);
}

//==============================================================================
void SwitchableSequencePlayer::dispatchNotifications()
{
    if (slotChanged.exchange (false, std::memory_order_acq_rel))
        listeners.call ([this] (Listener& l)
                        { l.sequenceNumberChanged (*this); });

    const auto looped = loopedSlots.exchange (0, std::memory_order_acq_rel);

    for (int slot = 0; slot < numSlots; ++slot)
        if ((looped & (1u << slot)) != 0)
            listeners.call ([this, slot] (Listener& l)
                            { l.sequenceLooped (getPlayer (slot)); });
}

void SwitchableSequencePlayer::addListener (Listener* listener)
{
    listeners.add (listener);
}

void SwitchableSequencePlayer::removeListener (Listener* listener)
{
    listeners.remove (listener);
}

} // namespace tarn

#pragma once

#include "MidiMessageSequencePlayer.h"

#include <array>
#include <atomic>

namespace tarn
{

/** Twelve phrase players, one per slot, of which one plays at a time. It knows which slot is
    current, switches on request or by keyswitch, ends the old slot's notes when it switches,
    and passes its players' notifications on with the slot index.

    The audio thread switches and plays; the message thread only requests slots (through the
    processor's atomic) and reads the current index.
*/
class SwitchableSequencePlayer : private MidiMessageSequencePlayer::Listener
{
public:
    static constexpr int numSlots = 12;

    /** Which incoming note selects which slot. */
    struct KeyswitchMapping
    {
        int slot = 0;
        int note = 0;
        bool enabled = true;
    };

    /** A keyswitch key going down (pressed) or up within the block. */
    struct SelectingEvent
    {
        int slot = 0;
        bool pressed = true;
        int sample = 0;
    };

    class Listener
    {
    public:
        virtual ~Listener() = default;

        /** A slot passed its loop end. [audio thread, the player's lock held] */
        virtual void sequenceLooped (MidiMessageSequencePlayer& player) { juce::ignoreUnused (player); }

        /** The current slot changed. [audio thread: only copy the index and post onwards] */
        virtual void sequenceNumberChanged (SwitchableSequencePlayer& switchable) { juce::ignoreUnused (switchable); }

        /** A slot swapped in its pending pass and needs the next one. [audio thread, the
            player's lock held: record the request, never load from here] */
        virtual void pendingNeeded (int slot) { juce::ignoreUnused (slot); }
    };

    SwitchableSequencePlayer();
    ~SwitchableSequencePlayer() override;

    /** Replaces the players by twelve fresh, silent ones. [message thread, not while playing] */
    void createPlayers();

    int getNumPlayers() const noexcept { return players.size(); }

    /** The player of a slot (0..11). [any thread; the player has its own contract] */
    MidiMessageSequencePlayer& getPlayer (int slot) const noexcept;

    /** The slot a player belongs to, or -1. [any thread] */
    int getSlotOf (const MidiMessageSequencePlayer& player) const noexcept;

    /** The slot that plays. [any thread] */
    int getCurrentIndex() const noexcept { return currentIndex.load (std::memory_order_acquire); }

    /** Makes a requested slot current; its old notes end at sample 0 of the next block.
        Returns true when the slot changed. [audio thread] */
    bool applyRequestedIndex (int requestedIndex);

    //==============================================================================
    /** [audio thread] */
    void setKeyswitchMapping (const KeyswitchMapping& mapping) noexcept;
    const KeyswitchMapping& getKeyswitchMapping (int slot) const noexcept;

    /** The slot an enabled keyswitch on this note selects, or -1. [audio thread] */
    int findKeyswitchSlot (int noteNumber) const noexcept;

    /** Copies the keyswitch switches into every player. [audio thread] */
    void setKeyswitchOptions (bool enable, bool hold, bool retrigger);

    //==============================================================================
    /** Switches by the block's selecting events (when keyswitching is on) and plays the
        current slot. The first press decides the slot and gives the start sample; a release
        of the current slot gives the stop sample, also after keyswitching was switched off,
        so a key pressed before never leaves its gate open. [audio thread] */
    MidiMessageSequencePlayer::BlockResult playBlock (juce::MidiBuffer& output,
                                                      int numSamples,
                                                      const BlockPosition& position,
                                                      const SelectingEvent* events = nullptr,
                                                      int numEvents = 0);

    /** Ends every note any slot has started, at `sample` (a transport stop). [audio thread] */
    void endHeldNotes (juce::MidiBuffer& output, int sample);

    /** The input was retriggered: the current slot's pass count and origin start again.
        [audio thread] */
    void resetLoopCountAndOrigin();

    /** Sample rate for every player; positions are forgotten. [message thread] */
    void prepare (double sampleRate);

    void addListener (Listener* listener); // [message thread]
    void removeListener (Listener* listener); // [message thread]

private:
    void pendingConsumed (MidiMessageSequencePlayer& player) override;
    void looped (MidiMessageSequencePlayer& player) override;

    void endNotesOfOtherSlots (juce::MidiBuffer& output, int sample);

    juce::OwnedArray<MidiMessageSequencePlayer> players;
    std::array<KeyswitchMapping, numSlots> keyswitchMap;
    std::atomic<int> currentIndex { 0 };
    std::atomic<bool> switchedFlag { false };
    bool keyswitchEnable = false;

    juce::ListenerList<Listener, juce::Array<Listener*, juce::CriticalSection>> listeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SwitchableSequencePlayer)
};

} // namespace tarn

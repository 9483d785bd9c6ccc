#pragma once

#include "MidiMessageSequencePlayer.h"

#include <array>
#include <atomic>
#include <memory>

namespace tarn
{

/** Twelve phrase players, one per slot, of which one plays at a time. It knows which slot is
    current, switches on request or by keyswitch, and ends the old slot's notes when it
    switches.

    The audio thread switches and plays, and only leaves notices (atomic flags) of what
    happened; the message thread reads the current index and passes the notices on to the
    listeners with dispatchNotifications().
*/
class SwitchableSequencePlayer
{
public:
    static constexpr int numSlots = 12;

    /** A keyswitch key going down (pressed) or up within the block. */
    struct SelectingEvent
    {
        int slot = 0;
        bool pressed = true;
        int sample = 0;
    };

    /** Told on the message thread, shortly after the block in which it happened. */
    class Listener
    {
    public:
        virtual ~Listener() = default;

        /** A slot passed its loop end. [message thread] */
        virtual void sequenceLooped (MidiMessageSequencePlayer& player) { juce::ignoreUnused (player); }

        /** The current slot changed. [message thread] */
        virtual void sequenceNumberChanged (SwitchableSequencePlayer& switchable) { juce::ignoreUnused (switchable); }
    };

    SwitchableSequencePlayer();

    int getNumPlayers() const noexcept { return numSlots; }

    /** The player of a slot (0..11). [any thread; the player has its own contract] */
    MidiMessageSequencePlayer& getPlayer (int slot) const noexcept;

    /** The slot that plays. [any thread] */
    int getCurrentIndex() const noexcept { return currentIndex.load (std::memory_order_acquire); }

    /** Makes a requested slot current; its old notes end at sample 0 of the next block.
        Returns true when the slot changed. [audio thread] */
    bool applyRequestedIndex (int requestedIndex) noexcept;

    /** Copies the keyswitch switches into every player. [audio thread] */
    void setKeyswitchOptions (bool enable, bool hold, bool retrigger) noexcept;

    //==============================================================================
    /** Switches by the block's selecting events (when keyswitching is on) and plays the
        current slot. The first press decides the slot and gives the start sample; a release
        of the current slot gives the stop sample, also after keyswitching was switched off,
        so a key pressed before never leaves its gate open. [audio thread] */
    MidiMessageSequencePlayer::BlockResult playBlock (juce::MidiBuffer& output,
                                                      int numSamples,
                                                      const BlockPosition& position,
                                                      const SelectingEvent* events = nullptr,
                                                      int numEvents = 0) noexcept;

    /** Ends every note any slot has started, at `sample` (a transport stop). [audio thread] */
    void endHeldNotes (juce::MidiBuffer& output, int sample) noexcept;

    /** The input was retriggered: the current slot's pass count and origin start again.
        [audio thread] */
    void resetLoopCountAndOrigin() noexcept;

    /** Sample rate for every player; positions are forgotten. [message thread] */
    void prepare (double sampleRate) noexcept;

    //==============================================================================
    /** Tells the listeners of the slot changes and loop ends the audio thread left notice
        of since the last call. [message thread] */
    void dispatchNotifications();

    void addListener (Listener* listener); // [message thread]
    void removeListener (Listener* listener); // [message thread]

private:
    void endNotesOfOtherSlots (juce::MidiBuffer& output, int sample) noexcept;
    void switchTo (int slot) noexcept;

    std::array<std::unique_ptr<MidiMessageSequencePlayer>, numSlots> players;
    std::atomic<int> currentIndex { 0 };
    std::atomic<bool> switchedFlag { false }; // the old slot's notes are still to be ended
    bool keyswitchEnable = false;

    // Notices for the message thread.
    std::atomic<bool> slotChanged { false };
    std::atomic<juce::uint32> loopedSlots { 0 }; // one bit per slot

    juce::ListenerList<Listener> listeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SwitchableSequencePlayer)
};

} // namespace tarn

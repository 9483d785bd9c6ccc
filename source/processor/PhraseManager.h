#pragma once

#include "RowListHolder.h"
#include "state/ControllerTypes.h"

#include <tarn/processor/RealtimeObjectExchange.h>
#include <tarn/sequence/AdvancedSequenceManager.h>
#include <tarn/util/ListenerSet.h>

#include <juce_data_structures/juce_data_structures.h>

/** The processor's twelve phrase slots, the row list they play through, the controller
    lanes every phrase carries, and the undo history of every edit of them. The history lives
    here, not in the editor, so it outlives the editor window.

    Every writer takes the state lock (the processor hands its maker-level state lock over at
    construction), so a host saving or restoring its project from another thread sees each
    edit either whole or not at all. Readers get copies, never references a restore could
    free. Nothing here is for the audio thread but the row holder.
*/
class PhraseManager : public tarn::AdvancedSequenceManager
{
public:
    /** Told of row and controller-lane edits, on the thread that made them (the message
        thread, or a host's thread while it restores a state). */
    class EditListener
    {
    public:
        virtual ~EditListener() = default;
        virtual void rowsChanged() {}
        virtual void controllerTypesChanged() {}
    };

    PhraseManager();

    /** From now on every writer holds this lock instead of the manager's own. [message
        thread, before anything else uses the manager] */
    void useStateLock (juce::CriticalSection& lock) noexcept { stateLock = &lock; }
    juce::CriticalSection& getStateLock() const noexcept { return *stateLock; }

    /** Replaces the phrase of a slot with a copy of `sequence`, holding the state lock.
        [message thread, or a host thread restoring a state] */
    void setSequence (int slot, const tarn::Sequence& sequence, void* source) override;

    /** Counts the replacements of a slot's phrase (0 before the first), so a writer can tell
        which phrases it must serialise again. [message thread, or a host thread holding the
        state lock] */
    juce::uint32 getPhraseVersion (int slot) const noexcept;

    //==============================================================================
    /** A copy of the rows as the editor and the commands see them, taken under the state
        lock. [any thread but the audio thread] */
    RowList getRows() const;

    /** Replaces the whole row list: every row is brought into a playable range, rows past
        the 128th are dropped (a phrase has one loop region per row), and the audio thread
        adopts the new list at its next block. Listeners hear rowsChanged. [message thread] */
    void setRows (RowList newRows);

    /** The rows as the audio thread sees them. [audio thread: update() then get()] */
    RowListHolder& getRowHolder() noexcept { return rowHolder; }

    /** The rows of a blank patch: eight Pitch rows, lowest held note first. */
    static RowList makeDefaultRows();

    //==============================================================================
    /** A copy of the lanes every phrase carries, in lane order, taken under the state lock.
        [any thread but the audio thread] */
    ControllerTypeList getControllerTypes() const;

    /** Replaces the list (each entry sanitised); listeners hear controllerTypesChanged. The
        phrases' own lanes are not touched. [message thread] */
    void setControllerTypes (ControllerTypeList newTypes);

    /** One empty bar of 4/4 with one empty lane per controller type: what a deleted phrase
        becomes. [message thread] */
    tarn::Sequence makeDefaultSequence() const;

    // Named apart from the sequence listeners of the base, which a plain addListener would hide.
    void addEditListener (EditListener* listener) { editListeners.add (listener); } // [message thread]
    void removeEditListener (EditListener* listener) { editListeners.remove (listener); } // [message thread]

    //==============================================================================
    /** One user command: holds the state lock for its whole length and begins a new named
        undo transaction, so one undo reverts every action it performs. A command whose every
        action is discarded (an edit that changes nothing) leaves no history entry. */
    class Transaction
    {
    public:
        Transaction (PhraseManager& manager, const juce::String& name); // [message thread]

        /** Performs the action and keeps it in the transaction when it changed something;
            takes ownership either way. */
        bool perform (juce::UndoableAction* action);

        ~Transaction();

    private:
        PhraseManager& manager;
        const juce::ScopedLock lock;

        JUCE_DECLARE_NON_COPYABLE (Transaction)
    };

    /** The history. Read it through the functions below from the editor; do not perform on it
        directly (the state lock would not be held). [message thread] */
    juce::UndoManager& getUndoManager() noexcept { return undoManager; }

    bool undo(); // [message thread]
    bool redo(); // [message thread]

    /** What undo and redo would do, as the last change of the history left it. Read without
        the state lock, so the editor never waits for a host restoring a song. [message
        thread] */
    struct HistoryNames
    {
        bool canUndo = false, canRedo = false;
        juce::String undoName, redoName;
    };

    HistoryNames getHistoryNames() const;

    bool canUndo() const { return getHistoryNames().canUndo; } // [message thread]
    bool canRedo() const { return getHistoryNames().canRedo; } // [message thread]

    /** "Undo: Edit phrase", or "Nothing to undo" when there is nothing (or nothing named)
        to undo. [message thread] */
    juce::String getUndoTooltip() const;

    /** "Redo: Edit phrase", or "Nothing to redo". [message thread] */
    juce::String getRedoTooltip() const;

    /** Forgets every step: after a state or preset load the old steps would write the
        previous song's phrases and rows into the new one. [message thread, or a host thread
        restoring a state] */
    void clearUndoHistory();

    /** Tells the listeners the row list changed. [message thread] */
    void announceRowsChanged();

private:
    void announceControllerTypesChanged();
    void publishHistoryNames(); // with the state lock held

    mutable tarn::RealtimeObjectExchange<HistoryNames> historyNames;

    juce::CriticalSection ownLock;
    juce::CriticalSection* stateLock = &ownLock;

    std::array<juce::uint32, numSlots> phraseVersions {};

    RowList rows;
    RowListHolder rowHolder;
    ControllerTypeList controllerTypes;

    juce::UndoManager undoManager;
    tarn::ListenerSet<EditListener> editListeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PhraseManager)
};

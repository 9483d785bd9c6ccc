#pragma once

#include <source/generation/PhraseMutator.h>
#include <source/generation/RegenerationMode.h>
#include <source/processor/PhraseManager.h>

#include <juce_audio_processors/juce_audio_processors.h>

#include <functional>
#include <memory>

class Cadenzium2AudioProcessor;

namespace tarn
{
class ToastManager;
}

/** Every edit of the phrases, the row table and the controller lanes, as the editor calls it:
    each command holds the state lock from its first read to its last write, the lock a host's
    state calls hold, so a restore on a host's thread happens wholly before or wholly after
    it; and each is one named undo step (see TransactionNames), so one undo reverts all of
    it. A command that would change nothing records nothing and returns false.

    Whoever edits (the editor, a test) makes one from the processor it edits; it keeps no
    state of its own, so any number may exist at once. Undo and redo go through the
    processor's PhraseManager.

    All members: [message thread].
*/
class EditCommands
{
public:
    /** Edits the processor's phrases, rows and lanes, generating with its parameters and
        its controller generation settings; must not outlive it. */
    explicit EditCommands (Cadenzium2AudioProcessor& processor);

    /** generationNode gives a copy of the processor's "generation" node (the controller
        settings generation reads). */
    EditCommands (PhraseManager& phrases,
                  juce::AudioProcessorValueTreeState& parameters,
                  tarn::ToastManager& toasts,
                  std::function<juce::ValueTree()> generationNode);

    //==============================================================================
    // Phrases (slot 0..11). "Edit phrase" unless said otherwise.

    /** A phrase edited in the piano roll, or by any other whole-phrase change. `basedOn` is
        the phrase the edit started from (PhraseManager::getSequenceSnapshot): when given and
        the slot holds another phrase by now (a host restored a song, a preset loaded, an
        undo ran), the edit is refused, since it would write a phrase of the old song into the
        new one. */
    bool editPhrase (int slot, const tarn::Sequence& edited, const std::shared_ptr<const tarn::Sequence>& basedOn = {});

    /** Generate or one of the regeneration buttons, with the generation panel's current
        settings; recorded only when the phrase changed (not when every row is locked). */
    bool generatePhrase (int slot, consts::RegenerationMode target);

    /** Mutate with the editor's own mutator and grid, with the mutation panel's current
        settings: "Mutate phrase", recorded only when anything changed. */
    bool mutatePhrase (int slot, PhraseMutator& mutator, const tarn::GridSize& grid);

    /** The commit half of a mutation made elsewhere: "Mutate phrase" when it changed.
        `basedOn` as for editPhrase. */
    bool commitMutation (int slot, const MutationResult& result, const std::shared_ptr<const tarn::Sequence>& basedOn = {});

    /** A MIDI file into the phrase: first the rows it needs beyond the table ("Create
        multiple rows", its own step), then the phrase ("Edit phrase"). A file with no usable
        notes shows the error toast, changes nothing and gives the failure. */
    juce::Result importMidiPattern (int slot, const juce::File& file);

    /** "Rename phrase". */
    bool renamePhrase (int slot, const juce::String& name);

    /** "Change phrase order": the phrase swaps places with its left (-1) or right (+1)
        neighbour. Nothing happens at either end. */
    bool movePhrase (int slot, int direction);

    /** The phrase menu's "Copy to": `to` gets a copy of `from` that keeps its own name. */
    bool copyPhraseTo (int from, int to);

    /** The phrase menu's "Delete": the phrase becomes one empty bar with the current lanes. */
    bool deletePhrase (int slot);

    /** The Repeat choice: passes before the phrase falls silent, -1 forever (up to 253). */
    bool setPhraseLoopCount (int slot, int loopCount);

    //==============================================================================
    // Rows.

    /** "Create new row"; does nothing once the table has its 128 rows. */
    bool newRow();

    /** "Create multiple rows": as many as fit below 128. */
    bool newRows (int count);

    /** "Delete row": every phrase loses the row's notes and loop region, and higher rows'
        notes move down one. */
    bool deleteRow (int row);

    /** "Change row order": the row moves to `to`, every phrase's notes and loop regions with it. */
    bool moveRow (int from, int to);

    /** The row popup's Type, Value, Transpose, Octave, Channel, colour and name, taken from
        `settings` (its mute and lock are ignored): "Change row settings". */
    bool changeRow (int row, const CadenziumModifier& settings);

    /** The row's Mute and Lock Generation switches, each one undo step: "Mute row" or
        "Unmute row", "Lock row generation" or "Unlock row generation". */
    bool setRowMuted (int row, bool shouldBeMuted);
    bool setRowGenerationLock (int row, bool shouldBeLocked);

    //==============================================================================
    // Controller lanes. A lane's key is its type, channel and (control changes) number; two
    // lanes never share one, so a command that would make them is refused.

    /** "Create new controller": an empty lane in every phrase, then the list entry. */
    bool newController (const ControllerType& type);

    /** "Delete controller": the lane leaves every phrase, then the list. */
    bool deleteController (int index);

    /** "Change controller type": the lane in every phrase, then the list entry. */
    bool changeController (int index, const ControllerType& type);

private:
    bool isSlot (int slot) const;
    bool isStillBasedOn (int slot, const std::shared_ptr<const tarn::Sequence>& basedOn) const;
    bool commitPhrase (int slot, const tarn::Sequence& after, const char* transactionName);

    template <typename Transform>
    void updateEveryPhrase (PhraseManager::Transaction& transaction, Transform&& transform);

    PhraseManager& phrases;
    juce::AudioProcessorValueTreeState& parameters;
    tarn::ToastManager& toasts;
    std::function<juce::ValueTree()> generationNode;

    JUCE_DECLARE_NON_COPYABLE (EditCommands)
};

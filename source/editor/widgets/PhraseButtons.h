#pragma once

#include "PhraseButton.h"

#include <source/commands/EditCommands.h>
#include <tarn/util/ListenerSet.h>

class Cadenzium2AudioProcessor;

/** The twelve phrase slots as a row of buttons. A click picks the phrase to edit (and
    asks the processor to play it): the listeners hear it. A right click opens the phrase
    menu: Rename (typed on the button), Move Left, Move Right, Copy to, Delete, each one
    undo step. A move swaps two phrases; the edited one and the playing one follow their
    phrase to its new place, so a move never changes what plays.

    All members: [message thread].
*/
class PhraseButtons : public juce::Component
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;

        /** The user picked this phrase (a click, or a phrase menu command that leads there). */
        virtual void phraseButtonClicked (int slot) = 0;

        /** The edited phrase moved to this slot (Move Left, Move Right): it is shown there,
            and what plays is left alone. */
        virtual void editedPhraseMoved (int slot) { juce::ignoreUnused (slot); }
    };

    explicit PhraseButtons (Cadenzium2AudioProcessor& processor);
    ~PhraseButtons() override;

    void addListener (Listener* listener) { listeners.add (listener); }
    void removeListener (Listener* listener) { listeners.remove (listener); }

    /** Marks the phrase shown in the piano roll. */
    void setEditedPhrase (int slot);
    int getEditedPhrase() const noexcept { return editedPhrase; }

    /** Brings names, the playing mark and the keyswitch tooltips up to date with the
        processor; the editor calls it on its timer. */
    void refresh();

    /** The phrases changed: their names, and whether they hold notes, are read again on the
        next refresh, not on every one. */
    void phrasesChanged() noexcept { namesStale = true; }

    PhraseButton& getButton (int slot) { return *buttons[slot]; }

    /** "Phrase 3 (D0): Click to switch to phrase and view in editor. Right click for more
        options": the keyswitch note of the slot, middle C named C3; "(no keyswitch)" where
        the range would put it past note 127. */
    static juce::String tooltipFor (int slot, int keyswitchRange);

    //==============================================================================
    // The phrase menu
    enum MenuItem
    {
        renameItem = 1,
        moveLeftItem,
        moveRightItem,
        deleteItem,
        copyToFirstItem = 100 // + the target slot
    };

    juce::PopupMenu createPhraseMenu (int slot) const;
    void showPhraseMenu (int slot);

    /** Carries out a phrase menu choice for a slot (0 does nothing). */
    void handlePhraseMenuResult (int slot, int itemId);

    /** Opens the name editor on the button; Return or a click elsewhere commits the name
        ("Rename phrase"), Escape leaves it. */
    void startRename (int slot);
    juce::TextEditor* getRenameEditor() noexcept { return renameEditor.get(); }

    void resized() override;

private:
    void commitRename();
    void cancelRename();
    void select (int slot);

    Cadenzium2AudioProcessor& processor;
    EditCommands commands { processor };
    juce::OwnedArray<PhraseButton> buttons;
    std::unique_ptr<juce::TextEditor> renameEditor;
    int renamingSlot = -1;
    int editedPhrase = 0;
    int shownKeyswitchRange = -1;
    bool namesStale = true;
    tarn::ListenerSet<Listener> listeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PhraseButtons)
};

#pragma once

#include <tarn/sequence/SequenceEditing.h>
#include <tarn/util/ListenerSet.h>

#include <functional>

namespace tarn
{

/** The phrase the piano roll shows, shared by the grid, the value editor and the curve
    editor: the phrase as last committed, the preview of a gesture in progress, and the
    selection.

    Gestures preview on a copy while the pointer moves and commit once, when the button
    comes up: commit() hands the phrase to onCommit (the owner's undoable "Edit phrase"),
    so one gesture is one undo step. [message thread]
*/
class PhraseDocument
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;

        /** The shown phrase changed: `before` is what was shown until now. */
        virtual void phraseChanged (const Sequence& before) { juce::ignoreUnused (before); }
        virtual void selectionChanged() {}

        /** The owner replaced the phrase (an undo, a generation): a gesture that began on
            the old one must end without committing. */
        virtual void phraseReplaced() {}
    };

    /** What is shown: the preview while a gesture runs, else the committed phrase. */
    const Sequence& getPhrase() const noexcept { return previewing ? preview : committed; }
    const Sequence& getCommittedPhrase() const noexcept { return committed; }
    const NoteSelection& getSelection() const noexcept { return selection; }
    bool isPreviewing() const noexcept { return previewing; }

    /** The owner's phrase, after an undo, a generation or a switch of phrase. A phrase with
        the same content as the one shown keeps the selection; another one drops it and
        ends a gesture in progress, as does any phrase when `isAnotherPhrase` says the owner
        now shows another slot. */
    void setPhrase (const Sequence&, bool isAnotherPhrase = false);

    /** Shows a gesture's step without committing it. */
    void showPreview (const Sequence&, const NoteSelection&);

    /** Drops the preview and shows the committed phrase again (Escape, or a gesture that
        changed nothing). */
    void cancelPreview();

    /** Shows the phrase and hands it on as one undoable step when it differs from the
        committed one. Returns whether it was handed on. */
    bool commit (const Sequence&, const NoteSelection&);

    /** The result of an editing operation: committed when changed; the caller plays the
        alert sound for a refused one. */
    bool commit (const SequenceEdit&);

    void setSelection (const NoteSelection&);

    /** Receives every committed phrase. */
    std::function<void (const Sequence&)> onCommit;

    void addListener (Listener* l) { listeners.add (l); }
    void removeListener (Listener* l) { listeners.remove (l); }

private:
    void show (const Sequence& before);

    Sequence committed, preview;
    NoteSelection selection;
    bool previewing = false;
    ListenerSet<Listener> listeners;
};

} // namespace tarn

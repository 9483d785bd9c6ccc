#include "PhraseDocument.h"

namespace tarn
{

void PhraseDocument::show (const Sequence& before)
{
    listeners.call ([&before] (Listener& l)
                    { l.phraseChanged (before); });
}

void PhraseDocument::setPhrase (const Sequence& phrase, bool isAnotherPhrase)
{
    if (! isAnotherPhrase && ! previewing && SequenceEditing::hasSameContent (phrase, committed))
    {
        committed = phrase; // names and flags that do not count as content
        return;
    }

    const auto before = getPhrase();
    committed = phrase;
    previewing = false;
    preview = {};
    listeners.call ([] (Listener& l)
                    { l.phraseReplaced(); });
    show (before);
    setSelection ({});
}

void PhraseDocument::showPreview (const Sequence& phrase, const NoteSelection& newSelection)
{
    const auto before = getPhrase();
    preview = phrase;
    previewing = true;
    show (before);
    setSelection (newSelection);
}

void PhraseDocument::cancelPreview()
{
    if (! previewing)
        return;

    const auto before = preview;
    previewing = false;
    preview = {};
    show (before);
}

bool PhraseDocument::commit (const Sequence& phrase, const NoteSelection& newSelection)
{
    const auto before = getPhrase();
    const auto changed = ! SequenceEditing::hasSameContent (phrase, committed);
    committed = phrase;
    previewing = false;
    preview = {};

    if (! SequenceEditing::hasSameContent (phrase, before))
        show (before);

    setSelection (newSelection);

    if (changed && onCommit != nullptr)
        onCommit (committed);

    return changed;
}

bool PhraseDocument::commit (const SequenceEdit& edit)
{
    if (! edit.hasChanged())
    {
        cancelPreview();
        return false;
    }

    return commit (edit.sequence, edit.selection);
}

void PhraseDocument::setSelection (const NoteSelection& newSelection)
{
    if (newSelection == selection)
        return;

    selection = newSelection;
    listeners.call ([] (Listener& l)
                    { l.selectionChanged(); });
}

} // namespace tarn

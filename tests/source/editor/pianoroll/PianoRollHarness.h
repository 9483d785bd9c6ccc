#pragma once

#include <source/commands/EditCommands.h>
#include <source/editor/Cadenzium2AudioProcessorEditor.h>
#include <tests/support/Phrases.h>
#include <tests/support/editor/EditorWindow.h>

#include <gtest/gtest.h>

namespace cadenzium::test
{

/** The product window with the processor's phrase and undo history to check, and the ways
    into its piano roll. Input goes through the window (EditorWindow). [message thread] */
class PianoRollHarness
{
public:
    ~PianoRollHarness()
    {
        window.reset();
        EditorWindow::pump();
    }

    Cadenzium2AudioProcessor processor;
    // The start-up toast (no factory library here) would lie over the value editor.
    const bool startUpToastsTaken = (processor.getToastManager().takeToasts(), true);
    std::unique_ptr<EditorWindow> window = std::make_unique<EditorWindow> (processor);

    Cadenzium2AudioProcessorEditor& editor() const { return window->getEditorAs<Cadenzium2AudioProcessorEditor>(); }
    tarn::PianoRoll& pianoRoll() const { return editor().getPianoRoll(); }
    tarn::NoteEditor& grid() const { return pianoRoll().getNoteEditor(); }

    /** The edited phrase as the processor holds it. */
    tarn::Sequence phrase() const { return processor.getPhrase (0); }

    /** "Undo: Edit phrase" or "Nothing to undo". */
    juce::String undoTooltip() const { return processor.getPhraseManager().getUndoTooltip(); }
    juce::String redoTooltip() const { return processor.getPhraseManager().getRedoTooltip(); }
    int numUndoSteps() { return processor.getPhraseManager().getUndoManager().getUndoDescriptions().size(); }

    /** Starts from this phrase in slot 0, with an empty history. */
    void startWith (tarn::Sequence phrase)
    {
        phrase.normalise();
        EditCommands (processor).editPhrase (0, phrase);
        processor.getPhraseManager().clearUndoHistory();
        refresh();
    }

    /** Waits until the piano roll shows the processor's phrase (notes, length, time signature)
        and rows, as its timer keeps it. */
    void refresh()
    {
        EditorWindow::pumpUntil ([this]
                                 {
                                     const auto& shown = pianoRoll().getDocument().getPhrase();
                                     const auto held = processor.getPhrase (editor().getEditedPhrase());
                                     return shown.notes == held.notes && shown.getLength() == held.getLength()
                                         && shown.timeSignatureNumerator == held.timeSignatureNumerator
                                         && shown.timeSignatureDenominator == held.timeSignatureDenominator
                                         && pianoRoll().getRowAxis().numRows == (int) processor.getPhraseManager().getRows().size();
                                 },
                                 1000);
        EditorWindow::pump (40);
    }

    /** Where a tick of a row lies in the grid. */
    juce::Point<float> at (double tick, int row) const
    {
        const auto& view = pianoRoll().getView();
        const auto& rows = view.getRowAxis();
        return { (float) view.getTimeAxis().xOf (tick), (float) (rows.yOf (row) + rows.rowHeight * 0.5) };
    }

    void drag (juce::Component& c, juce::Point<float> from, juce::Point<float> to, juce::ModifierKeys mods = {}, int steps = 6)
    {
        window->drag (c, from, to, steps, mods);
    }
};

} // namespace cadenzium::test

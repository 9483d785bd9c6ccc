#pragma once

#include <source/editor/pianoroll/PianoRollConnection.h>
#include <tarn/gui/editor/AudioProcessorEditor.h>
#include <tests/support/editor/EditorWindow.h>

#include <gtest/gtest.h>

namespace cadenzium::test
{

/** The plug-in with a window that holds only the piano roll, tied to the processor by the
    product's connection, in the library's themed editor (scaling, menus inside the editor,
    the keyboard handed back to the host). */
class PianoRollTestProcessor : public Cadenzium2AudioProcessor
{
public:
    juce::AudioProcessorEditor* createEditor() override;
};

class PianoRollTestEditor : public tarn::AudioProcessorEditor
{
public:
    explicit PianoRollTestEditor (PianoRollTestProcessor& plugin);
    ~PianoRollTestEditor() override;

    void layoutContent (juce::Rectangle<int> area) override { pianoRoll.setBounds (area); }

    tarn::PianoRoll pianoRoll;
    PianoRollConnection connection;
};

/** The piano roll in a real window under the test's X server, with the processor's phrase
    and undo history to check. Input goes through the window (EditorWindow). [message thread] */
class PianoRollHarness
{
public:
    PianoRollHarness();
    ~PianoRollHarness();

    PianoRollTestProcessor processor;
    std::unique_ptr<EditorWindow> window;

    PianoRollTestEditor& editor() const { return window->getEditorAs<PianoRollTestEditor>(); }
    tarn::PianoRoll& pianoRoll() const { return editor().pianoRoll; }
    PianoRollConnection& connection() const { return editor().connection; }
    tarn::NoteEditor& grid() const { return pianoRoll().getNoteEditor(); }

    /** The edited phrase as the processor holds it. */
    tarn::Sequence phrase() const { return processor.getPhrase (0); }

    /** "Undo: Edit phrase" or "Nothing to undo". */
    juce::String undoTooltip() const { return processor.getPhraseManager().getUndoTooltip(); }
    juce::String redoTooltip() const { return processor.getPhraseManager().getRedoTooltip(); }
    int numUndoSteps() { return processor.getPhraseManager().getUndoManager().getUndoDescriptions().size(); }

    /** Starts from this phrase in slot 0, with an empty history. */
    void startWith (const tarn::Sequence&);

    /** A note as the tests place them. */
    static tarn::SequenceNote note (int row, int start, int length, int velocity = 100);

    /** Where a tick of a row lies in the grid. */
    juce::Point<float> at (double tick, int row) const;

    void drag (juce::Component& c, juce::Point<float> from, juce::Point<float> to, juce::ModifierKeys mods = {}, int steps = 6)
    {
        window->drag (c, from, to, steps, mods);
    }
};

} // namespace cadenzium::test

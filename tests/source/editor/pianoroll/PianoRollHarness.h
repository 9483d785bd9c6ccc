#pragma once

#include <source/editor/pianoroll/PianoRollConnection.h>

#include <gtest/gtest.h>

namespace cadenzium::test
{

/** A piano roll tied to a real processor through the product's connection, edited by
    synthetic mouse and key events, with the processor's phrase and undo history to check.
    [message thread] */
class PianoRollHarness
{
public:
    explicit PianoRollHarness (int width = 1200, int height = 700);
    ~PianoRollHarness();

    Cadenzium2AudioProcessor processor;
    tarn::PianoRoll pianoRoll;
    std::unique_ptr<PianoRollConnection> connection;

    tarn::NoteEditor& grid() { return pianoRoll.getNoteEditor(); }

    /** The edited phrase as the processor holds it. */
    const tarn::Sequence& phrase() const { return processor.getPhrase (0); }

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

    //==============================================================================
    void press (juce::Component&, juce::Point<float>, juce::ModifierKeys = {}, int clicks = 1);
    void moveTo (juce::Component&, juce::Point<float>, juce::ModifierKeys = {});
    void release (juce::Component&, juce::Point<float>, juce::ModifierKeys = {});

    void click (juce::Component&, juce::Point<float>, juce::ModifierKeys = {});
    void doubleClick (juce::Component&, juce::Point<float>);

    /** Press, `steps` moves, release. */
    void drag (juce::Component&, juce::Point<float> from, juce::Point<float> to, juce::ModifierKeys = {}, int steps = 6);

    /** A key for the grid, as it gets them while it has the keyboard focus. */
    bool key (const juce::KeyPress&);

    /** The menu the last right click (or lane button) opened, held open until an item is
        chosen: menus open through the piano roll's presenter, not as pop-up windows. */
    bool isMenuOpen() const noexcept { return openMenu.has_value(); }
    const juce::PopupMenu& getOpenMenu() const { return *openMenu; }

    /** Chooses the enabled item with this text in the open menu, as a click on it would. */
    bool chooseMenuItem (const juce::String& text);

    /** Runs the message loop for a while (async deletions, timers). */
    static void pump (int milliseconds = 20);

    /** Writes the piano roll as "<suite>.<test>.<name>.png" into
        <build>/test-artefacts/screenshots. */
    juce::File screenshot (const juce::String& name);

private:
    juce::MouseEvent event (juce::Component&, juce::Point<float>, juce::ModifierKeys, int clicks, bool dragged) const;

    std::optional<juce::PopupMenu> openMenu;
    std::function<void (int)> menuChosen;

    juce::Point<float> downAt;
    juce::Time downTime;
    juce::int64 clock = 0;
};

} // namespace cadenzium::test

#pragma once

#include <source/commands/EditCommands.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/gui/pianoroll/PianoRoll.h>
#include <tarn/gui/pianoroll/PianoRollMetrics.h>

#include <atomic>

/** Ties the piano roll to the processor for one edited phrase.

    It feeds the piano roll the phrase, the row labels, the view settings kept with the song
    ("grid_size", "velocity_range", "transpose_range", "octave_range" in the "piano_roll"
    settings) and, on a timer, what plays: the play head from the playing slot's player and
    whether it moves. It turns every piano-roll edit into the undoable commands: a phrase
    edit is one "Edit phrase", the lane buttons are the controller commands, Ctrl+Z and
    Ctrl+Shift+Z are undo and redo.

    The product editor owns one beside its piano roll. All members: [message thread].
*/
class PianoRollConnection : private tarn::PianoRoll::Listener
    , private PhraseManager::EditListener
    , private juce::Timer
{
public:
    PianoRollConnection (Cadenzium2AudioProcessor& processor, tarn::PianoRoll& pianoRoll);
    ~PianoRollConnection() override;

    /** The phrase slot (0..11) the piano roll edits. */
    void setEditedPhrase (int slot);
    int getEditedPhrase() const noexcept { return slot; }

    /** The grid the piano roll snaps to, for commands that use it (mutation). */
    tarn::GridSize getGrid() const;

    /** Reads the phrase, the rows and what plays now, rather than at the next tick. */
    void refresh();

    inline static const juce::Identifier gridSizeId { "grid_size" };
    inline static const juce::Identifier velocityRangeId { "velocity_range" };
    inline static const juce::Identifier transposeRangeId { "transpose_range" };
    inline static const juce::Identifier octaveRangeId { "octave_range" };

private:
    void pianoRollPhraseEdited (const tarn::Sequence& edited) override;
    void pianoRollUndoRequested() override;
    void pianoRollRedoRequested() override;
    void pianoRollGridChanged (const tarn::GridSize&) override;
    void pianoRollRangeModeChanged (tarn::ValueEditorMode, bool isOn) override;
    void pianoRollLaneAddRequested() override;
    void pianoRollLaneTypeChosen (int lane, int type, int number, int channel) override;
    void pianoRollLaneDeleteRequested (int lane) override;
    void pianoRollLaneRenamed (int lane, const juce::String& name) override;
    void pianoRollMidiLearnRequested (int channel, int controller, int value) override;

    void rowsChanged() override { rowsNeedReading = true; }
    void controllerTypesChanged() override { phraseNeedsReading = true; }
    void timerCallback() override;

    void readViewSettings();
    void readPhrase();
    void readRows();
    void readPlayback();

    Cadenzium2AudioProcessor& processor;
    tarn::PianoRoll& pianoRoll;
    EditCommands commands { processor };

    int slot = 0, shownSlot = -1;
    juce::uint32 shownVersion = 0;
    std::atomic<bool> rowsNeedReading { true }, phraseNeedsReading { true };
    double restingTick = -1.0; // where the play head stopped, -1 for nowhere


    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PianoRollConnection)
};

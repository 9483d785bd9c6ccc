#pragma once

#include "CadenziumRow.h"
#include "RowGeometry.h"

#include <source/commands/EditCommands.h>
#include <source/processor/HeldNoteList.h>
#include <source/processor/PhraseManager.h>

#include <bitset>

class Cadenzium2AudioProcessor;
class CadenziumRowPopup;

namespace tarn
{
class Callout;
}

/** The rows column beside the piano roll: one CadenziumRow per entry of the row table, on
    the same lines as the grid. Its gestures:
    - drag a row up or down to move it ("Change row order": every phrase's notes and loop
      regions move with it), committed when the mouse is let go;
    - Shift-click a row to mute or unmute it ("Mute row", "Unmute row");
    - click or right-click a row for its settings (CadenziumRowPopup).
    Rows that sound right now light up.

    Row edits may arrive from a host's thread while it restores a state; the column picks
    them up on the message thread. All members: [message thread].
*/
class CadenziumRowEditor : public juce::Component
    , private PhraseManager::EditListener
    , private juce::AsyncUpdater
{
public:
    explicit CadenziumRowEditor (Cadenzium2AudioProcessor& processor);
    ~CadenziumRowEditor() override;

    /** Where the grid puts its rows (the row count is the table's own). */
    void setGeometry (RowGeometry geometry);
    const RowGeometry& getGeometry() const noexcept { return geometry; }

    /** Lights the rows that sound now. */
    void setSoundingRows (const std::bitset<CadenziumModifier::maxRows>& rows);

    /** Shows on each row what it plays from the chord held now (the editor passes the
        processor's held-note snapshot on its timer); a chord as before changes nothing. */
    void setHeldChord (const HeldNotes& held, bool fill);

    /** Shows the row table as it is now. */
    void refresh();

    int getNumRows() const noexcept { return rows.size(); }
    CadenziumRow& getRow (int index) { return *rows[index]; }

    /** Opens the settings of a row beside it. */
    void openPopup (int row);
    CadenziumRowPopup* getPopup() const noexcept;
    void closePopup();

    /** Told after the number of rows changed (the grid lays out again). */
    std::function<void()> onRowCountChanged;

    /** A wheel over the rows, or a row dragged past an edge, scrolls the grid (and so the
        rows): by this many pixels down. */
    std::function<void (float pixels)> onScrollRequest;

    void mouseDown (const juce::MouseEvent& event) override;
    void mouseDrag (const juce::MouseEvent& event) override;
    void mouseUp (const juce::MouseEvent& event) override;
    void mouseWheelMove (const juce::MouseEvent& event, const juce::MouseWheelDetails& wheel) override;

    void paint (juce::Graphics& g) override;
    void paintOverChildren (juce::Graphics& g) override;
    void resized() override;

private:
    void rowsChanged() override { triggerAsyncUpdate(); }
    void handleAsyncUpdate() override { refresh(); }

    int rowUnder (const juce::MouseEvent& event);
    void scrollTowardsPointer (float y);

    static constexpr int autoScrollIntervalMs = 40;

    Cadenzium2AudioProcessor& processor;
    EditCommands commands { processor };
    RowGeometry geometry;
    juce::OwnedArray<CadenziumRow> rows;
    std::bitset<CadenziumModifier::maxRows> sounding;
    HeldNotes heldChord;
    bool heldFill = false;

    void showResolvedNotes();

    int pressedRow = -1, dropTarget = -1;
    bool dragging = false;

    std::unique_ptr<tarn::Callout> callout;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CadenziumRowEditor)
};

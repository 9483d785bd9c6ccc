#include "CadenziumRowEditor.h"

#include <source/editor/ProcessorReads.h>
#include <source/editor/overlays/CadenziumRowPopup.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <source/processor/ChordSources.h>
#include <tarn/gui/Theme.h>
#include <tarn/gui/editor/AudioProcessorEditor.h>
#include <tarn/gui/overlays/Callout.h>
#include <tarn/gui/pianoroll/PianoRollTheme.h>

namespace
{
tarn::PopupKind rowPopupKind { "row settings" };
} // namespace

CadenziumRowEditor::CadenziumRowEditor (Cadenzium2AudioProcessor& p)
    : processor (p)
{
    refresh();

    setComponentID ("rows");

    // A host restoring a state calls the listeners under this lock, on its own thread.
    const juce::ScopedLock sl (processor.getPhraseManager().getStateLock());
    processor.getPhraseManager().addEditListener (this);
}

CadenziumRowEditor::~CadenziumRowEditor()
{
    {
        const juce::ScopedLock sl (processor.getPhraseManager().getStateLock());
        processor.getPhraseManager().removeEditListener (this);
    }
    closePopup();
}

void CadenziumRowEditor::setGeometry (RowGeometry newGeometry)
{
    newGeometry.numRows = rows.size();
    if (newGeometry == geometry)
        return;

    geometry = newGeometry;
    resized();
    repaint();
}

void CadenziumRowEditor::setSoundingRows (const std::bitset<CadenziumModifier::maxRows>& rowsNow)
{
    if (rowsNow == sounding)
        return;

    sounding = rowsNow;
    for (auto* row : rows)
        row->setSounding (sounding[(size_t) row->getIndex()]);
}

void CadenziumRowEditor::setHeldChord (const HeldNotes& held, bool fill)
{
    const auto same = fill == heldFill && held.size() == heldChord.size()
                   && std::equal (held.begin(), held.end(), heldChord.begin(), [] (const HeldNote& a, const HeldNote& b)
                                  { return a.note == b.note && a.velocity == b.velocity; });
    if (same)
        return;

    heldChord = held;
    heldFill = fill;
    showResolvedNotes();
}

void CadenziumRowEditor::showResolvedNotes()
{
    ChordSources chord;
    chord.build (heldChord);

    for (auto* row : rows)
    {
        const auto& settings = row->getShownRow();
        juce::String text;

        // A random row picks anew at each note: there is nothing to show in advance (and
        // asking would draw from the one random source).
        if (! heldChord.isEmpty() && settings.type != CadenziumModifier::random)
        {
            SourceNotes sources;
            chord.find (settings, heldFill, sources);
            juce::StringArray names;

            for (int i = 0; i < sources.size; ++i)
            {
                const auto pitch = sources.notes[(size_t) i].pitch + settings.transpose + 12 * settings.octave;
                if (juce::isPositiveAndBelow (pitch, 128))
                    names.add (juce::MidiMessage::getMidiNoteName (pitch, true, true, 3));
            }

            if (names.size() > 3)
            {
                names.removeRange (3, names.size());
                names.add (juce::String (juce::CharPointer_UTF8 ("\xe2\x80\xa6")));
            }

            text = names.joinIntoString (" ");
        }

        row->setResolvedNotes (text);
    }
}

void CadenziumRowEditor::refresh()
{
    cancelPendingUpdate();

    const auto table = ProcessorReads::rows (processor);
    const auto countChanged = (int) table.size() != rows.size();

    while (rows.size() > (int) table.size())
        rows.removeLast();

    while (rows.size() < (int) table.size())
    {
        auto* row = rows.add (std::make_unique<CadenziumRow> (rows.size()));
        row->addMouseListener (this, false);
        addAndMakeVisible (row);
    }

    for (int i = 0; i < rows.size(); ++i)
    {
        rows[i]->show (table[(size_t) i]);
        rows[i]->setSounding (i < CadenziumModifier::maxRows && sounding[(size_t) i]);
    }

    geometry.numRows = rows.size();
    showResolvedNotes();

    if (auto* popup = getPopup(); popup != nullptr && ! popup->refresh())
        closePopup();

    resized();

    if (countChanged && onRowCountChanged != nullptr)
        onRowCountChanged();
}

void CadenziumRowEditor::resized()
{
    for (auto* row : rows)
    {
        if (dragging && row->getIndex() == pressedRow)
            continue;

        row->setBounds (0, juce::roundToInt (geometry.topOf (row->getIndex())), getWidth(), juce::roundToInt (geometry.rowHeight));
    }
}

int CadenziumRowEditor::rowUnder (const juce::MouseEvent& event)
{
    return geometry.rowAt (event.getEventRelativeTo (this).position.y);
}

void CadenziumRowEditor::mouseDown (const juce::MouseEvent& event)
{
    pressedRow = rowUnder (event);
    dragging = false;
    dropTarget = -1;

    if (pressedRow < 0)
        return;

    if (event.mods.isPopupMenu())
    {
        openPopup (pressedRow);
        pressedRow = -1;
        return;
    }

    if (event.mods.isShiftDown())
    {
        if (const auto row = ProcessorReads::row (processor, pressedRow))
            commands.setRowMuted (pressedRow, ! row->muted);
        refresh();
        pressedRow = -1;
    }
}

void CadenziumRowEditor::mouseDrag (const juce::MouseEvent& event)
{
    if (pressedRow < 0 || rows.size() < 2)
        return;

    const auto local = event.getEventRelativeTo (this);
    if (! dragging && local.getDistanceFromDragStart() < 4)
        return;

    if (! dragging)
        beginDragAutoRepeat (autoScrollIntervalMs);

    dragging = true;
    scrollTowardsPointer (local.position.y);
    dropTarget = geometry.dropTargetAt (local.position.y);

    // The dragged row follows the pointer; the others stay where they are until it lands.
    auto& row = *rows[pressedRow];
    row.setDragging (true);
    row.toFront (false);
    const auto top = geometry.topOf (pressedRow) + (float) local.getDistanceFromDragStartY();
    row.setTopLeftPosition (0, juce::roundToInt (top));
    repaint();
}

void CadenziumRowEditor::scrollTowardsPointer (float y)
{
    // Held past an edge, the rows scroll towards the pointer, faster the further out it is.
    const auto beyond = y < 0.0f ? y : y > (float) getHeight() ? y - (float) getHeight()
                                                               : 0.0f;
    if (onScrollRequest != nullptr && ! juce::approximatelyEqual (beyond, 0.0f))
        onScrollRequest (juce::jlimit (-geometry.rowHeight, geometry.rowHeight, beyond / 2.0f));
}

void CadenziumRowEditor::mouseUp (const juce::MouseEvent&)
{
    const auto from = pressedRow;
    const auto to = dropTarget;
    const auto wasDragging = dragging;

    pressedRow = -1;
    dropTarget = -1;
    dragging = false;

    if (juce::isPositiveAndBelow (from, rows.size()))
        rows[from]->setDragging (false);

    // One undo step, when the row is let go somewhere else.
    if (wasDragging && from >= 0 && to >= 0 && to != from)
        commands.moveRow (from, to);

    refresh();
    repaint();

    // A click that did not drag opens the row's settings, as a right click does: a plain
    // click is what a musician tries first.
    if (! wasDragging && juce::isPositiveAndBelow (from, rows.size()))
        openPopup (from);
}

void CadenziumRowEditor::mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails& wheel)
{
    // A notch (a delta of about 0.2) moves a couple of rows.
    constexpr float rowsPerUnitDelta = 12.0f;
    if (onScrollRequest != nullptr && ! juce::approximatelyEqual (wheel.deltaY, 0.0f))
        onScrollRequest (-wheel.deltaY * rowsPerUnitDelta * geometry.rowHeight);
}

void CadenziumRowEditor::openPopup (int row)
{
    closePopup();

    if (! juce::isPositiveAndBelow (row, rows.size()))
        return;

    auto popup = std::make_unique<CadenziumRowPopup> (processor, row);
    popup->onCloseRequest = [this]
    {
        // Asked from the popup's own button: hidden now, deleted once the click is over.
        if (callout != nullptr)
            callout->dismiss();
    };

    // Inside the editor, which scales and themes it and deletes it with this column.
    auto* editor = findParentComponentOfClass<tarn::AudioProcessorEditor>();
    auto& parent = editor != nullptr ? static_cast<juce::Component&> (*editor) : *getTopLevelComponent();
    const auto target = parent.getLocalArea (rows[row], rows[row]->getLocalBounds());
    callout = std::make_unique<tarn::Callout> (rowPopupKind, std::move (popup), parent, target);

    const juce::Component::SafePointer<CadenziumRowEditor> safeThis (this);
    callout->onDismissed = [safeThis]
    {
        juce::MessageManager::callAsync ([safeThis]
                                         {
                                             if (safeThis != nullptr && safeThis->callout != nullptr && safeThis->callout->isDismissed())
                                                 safeThis->callout.reset(); });
    };
}

CadenziumRowPopup* CadenziumRowEditor::getPopup() const noexcept
{
    if (callout == nullptr || callout->isDismissed())
        return nullptr;

    return dynamic_cast<CadenziumRowPopup*> (&callout->getContent());
}

void CadenziumRowEditor::closePopup()
{
    callout.reset();
}

void CadenziumRowEditor::paint (juce::Graphics& g)
{
    g.fillAll (tarn::themeColour (*this, "background.background"));

    // The grid's empty lanes above the rows continue beside it here.
    const auto stackTop = geometry.gridTop - geometry.scrollY;
    const auto laneHeight = std::max (1.0f, geometry.rowHeight);

    for (int lane = 0; stackTop - (float) lane * laneHeight > 0.0f; ++lane)
    {
        const auto bottom = stackTop - (float) lane * laneHeight;
        g.setColour (tarn::PianoRollLanes::emptyLaneColour (*this, rows.size() + lane));
        g.fillRect (0.0f, bottom - laneHeight, (float) getWidth(), laneHeight - 1.0f);
    }
}

void CadenziumRowEditor::paintOverChildren (juce::Graphics& g)
{
    if (! dragging || dropTarget < 0)
        return;

    // A line where the dragged row will land: above the target when it moves up the screen.
    const auto movesUp = geometry.lineOf (dropTarget) < geometry.lineOf (pressedRow);
    const auto top = geometry.topOf (dropTarget);
    const auto y = movesUp ? top : top + geometry.rowHeight;
    g.setColour (tarn::themeColour (*this, "theme.primary"));
    g.fillRect (0.0f, y - 1.0f, (float) getWidth(), 2.0f);
}

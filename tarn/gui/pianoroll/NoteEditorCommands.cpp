#include "NoteEditor.h"

#include <tarn/gui/overlays/PopupMenus.h>

#include <tarn/gui/NoteGridMenuCommands.h>

namespace tarn
{
namespace
{
    PopupKind noteMenuKind { "note menu" };
    PopupKind gridMenuKind { "note grid menu" };
} // namespace

namespace
{
    namespace Grid = GridMenuCommand;
    namespace Note = NoteMenuCommand;

    constexpr int fewestEqualStrikes = 2, mostEqualStrikes = NoteRepeat::maxEqualStrikes;

    juce::PopupMenu::Item item (const juce::String& text, int id, const juce::String& shortcut = {}, bool enabled = true, bool ticked = false)
    {
        juce::PopupMenu::Item result (text);
        result.itemID = id;
        result.shortcutKeyDescription = shortcut;
        result.isEnabled = enabled;
        result.isTicked = ticked;
        return result;
    }
} // namespace

//==============================================================================
juce::PopupMenu NoteEditor::createGridSizeMenu (std::optional<GridSize> ticked)
{
    juce::PopupMenu straight, dotted, triplets;

    for (const auto& size : GridSize::all())
    {
        auto& menu = size.kind == GridSize::dotted ? dotted : (size.kind == GridSize::triplet ? triplets : straight);
        menu.addItem (item (size.getName(), size.identifier, {}, true, ticked.has_value() && *ticked == size));
    }

    straight.addSubMenu ("Dotted", dotted);
    straight.addSubMenu ("Triplets", triplets);
    return straight;
}

juce::PopupMenu NoteEditor::createGridMenu() const
{
    juce::PopupMenu loopOptions;
    loopOptions.addItem (item ("Reset loop region", Grid::resetLoopRegion, {}, loopRow >= 0));
    loopOptions.addSubMenu ("Grid Size", createGridSizeMenu (grid));

    juce::PopupMenu menu;
    menu.addSubMenu ("Loop Options", loopOptions);
    menu.addItem (item ("Select All", Grid::selectAll, "A", ! phrase().notes.empty()));
    menu.addItem (item ("Paste", Grid::paste, "V", ! clipboard.isEmpty()));
    menu.addSeparator();
    menu.addItem (item ("Invert", Grid::invert));
    menu.addItem (item ("Reverse", Grid::reverse));
    menu.addItem (item ("Half Speed", Grid::halfSpeed));
    menu.addItem (item ("Double Speed", Grid::doubleSpeed));
    menu.addItem (item ("Legato", Grid::legato));
    menu.addItem (item ("Snap to Grid", Grid::snapToGrid, "Q"));
    return menu;
}

juce::PopupMenu NoteEditor::createNoteMenu (int clickedNote) const
{
    const auto& notes = phrase().notes;
    const auto hasNote = clickedNote >= 0 && clickedNote < (int) notes.size();
    const auto note = hasNote ? notes[(size_t) clickedNote] : SequenceNote();
    const auto numSelected = document.getSelection().size();

    juce::PopupMenu equal;
    equal.addItem (item ("Off", Note::repeatsOff, {}, true, note.repeatStyle == SequenceNote::noRepeats));

    for (int strikes = fewestEqualStrikes; strikes <= mostEqualStrikes; ++strikes)
        equal.addItem (item (juce::String (strikes), Note::repeatsOff + strikes, {}, true,
                             note.repeatStyle == SequenceNote::repeatCountTimes && note.repeatCount == strikes));

    const auto rate = note.repeatStyle == SequenceNote::repeatAtRate ? std::optional<GridSize> (note.repeatRate) : std::nullopt;

    juce::PopupMenu repeat;
    repeat.addSubMenu ("Equal", equal);
    repeat.addSubMenu ("Sync", createGridSizeMenu (rate));

    juce::PopupMenu menu;
    menu.addItem (item ("Copy", Note::copy, "C"));
    menu.addItem (item ("Delete Note(s)", Note::deleteNotes, "Del"));
    menu.addSubMenu ("Repeat", repeat);
    menu.addSeparator();
    menu.addItem (item ("Invert Selection", Note::invertSelection, "I", numSelected > 1));
    menu.addItem (item ("Reverse Selection", Note::reverseSelection, "R", numSelected > 1));
    menu.addItem (item ("Duplicate Selection", Note::duplicateSelection, "D", numSelected > 0));
    menu.addItem (item ("Flatten Repeats", Note::flattenRepeats, {}, hasNote && SequenceEditing::canFlattenRepeats (note)));
    return menu;
}

void NoteEditor::showContextMenu (const juce::MouseEvent& e)
{
    const auto note = tool == NoteTool::loop ? -1 : findNoteAt (e.position);

    if (note >= 0)
    {
        if (! document.getSelection().contains (note))
            document.setSelection ({ note });

        showMenuAt (noteMenuKind, *this, createNoteMenu (note), e.getScreenPosition(), [this, note] (int result)
                              { performNoteCommand (result, note); });
        return;
    }

    const auto row = rowAt (e.position.y);

    if (rowRange().contains (row) && row != loopRow)
    {
        const auto previous = loopRow;
        loopRow = row;

        if (previous >= 0)
            repaintRow (previous);

        repaintRow (row);
    }

    document.setSelection ({});
    pastePosition = GridTicks::snap (tickAt (e.position.x), grid, phrase().getLength());

    showMenuAt (gridMenuKind, *this, createGridMenu(), e.getScreenPosition(), [this] (int result)
                          { performGridCommand (result); });
}

//==============================================================================
void NoteEditor::commitEdit (const SequenceEdit& edit)
{
    if (edit.shouldPlayAlert())
        getLookAndFeel().playAlertSound();

    if (! document.commit (edit) && ! edit.shouldPlayAlert())
        document.setSelection (edit.selection);
}

void NoteEditor::copySelection()
{
    clipboard = SequenceEditing::copyNotes (document.getCommittedPhrase(), document.getSelection());
}

void NoteEditor::paste()
{
    if (clipboard.isEmpty() || pastePosition < 0)
        return getLookAndFeel().playAlertSound();

    commitEdit (SequenceEditing::paste (document.getCommittedPhrase(), document.getSelection(), clipboard, pastePosition));
}

void NoteEditor::performGridCommand (int command)
{
    endGesture (false);
    const auto& current = document.getCommittedPhrase();
    const auto& selection = document.getSelection();

    if (GridSize::isValidIdentifier (command))
    {
        setGrid (GridSize::fromIdentifier (command));

        if (onGridChanged != nullptr)
            onGridChanged (grid);

        return;
    }

    const auto call = [] (const std::function<void()>& callback)
    {
        if (callback != nullptr)
            callback();
    };

    switch (command)
    {
        case Grid::resetLoopRegion: commitEdit (SequenceEditing::resetLoopRegion (current, selection, loopRow)); break;
        case Grid::selectAll: document.setSelection (SequenceEditing::selectAll (current)); break;
        case Grid::paste: paste(); break;
        case Grid::invert: commitEdit (SequenceEditing::invertAll (current, selection)); break;
        case Grid::reverse: commitEdit (SequenceEditing::reverseAll (current, selection)); break;
        case Grid::halfSpeed: call (onHalfSpeed); break;
        case Grid::doubleSpeed: call (onDoubleSpeed); break;
        case Grid::legato: call (onLegato); break;
        case Grid::snapToGrid: call (onSnapToGrid); break;
        default: break;
    }
}

void NoteEditor::performNoteCommand (int command, int clickedNote)
{
    endGesture (false);
    const auto& current = document.getCommittedPhrase();
    const auto& selection = document.getSelection();

    if (const auto repeat = noteRepeatForMenuResult (command))
        return commitEdit (SequenceEditing::setRepeats (current, selection, *repeat));

    switch (command)
    {
        case Note::copy: copySelection(); break;
        case Note::deleteNotes: commitEdit (SequenceEditing::deleteNotes (current, selection)); break;
        case Note::invertSelection: commitEdit (SequenceEditing::invertSelection (current, selection)); break;
        case Note::reverseSelection: commitEdit (SequenceEditing::reverseSelection (current, selection)); break;
        case Note::duplicateSelection: commitEdit (SequenceEditing::duplicateSelection (current, selection)); break;
        case Note::flattenRepeats: commitEdit (SequenceEditing::flattenRepeats (current, selection, clickedNote)); break;
        default: break;
    }
}

//==============================================================================
bool NoteEditor::keyPressed (const juce::KeyPress& key)
{
    using juce::KeyPress;
    using juce::ModifierKeys;
    const auto command = ModifierKeys::commandModifier;
    const auto shift = ModifierKeys::shiftModifier;

    if (key == KeyPress ('z', command, 0))
    {
        if (onUndo != nullptr)
            onUndo();

        return true;
    }

    if (key == KeyPress ('z', command | shift, 0) || key == KeyPress ('y', command, 0))
    {
        if (onRedo != nullptr)
            onRedo();

        return true;
    }

    if (key == KeyPress::escapeKey)
    {
        if (hasGesture())
            endGesture (false);
        else
            document.setSelection ({});

        return true;
    }

    if (key.getModifiers().isAnyModifierKeyDown())
        return false;

    const auto numSelected = document.getSelection().size();

    if (key == KeyPress::deleteKey || key == KeyPress::backspaceKey)
        performNoteCommand (Note::deleteNotes, -1);
    else if (key == KeyPress ('a'))
        performGridCommand (Grid::selectAll);
    else if (key == KeyPress ('v'))
        performGridCommand (Grid::paste);
    else if (key == KeyPress ('c'))
        performNoteCommand (Note::copy, -1);
    else if (key == KeyPress ('i') && numSelected > 1)
        performNoteCommand (Note::invertSelection, -1);
    else if (key == KeyPress ('r') && numSelected > 1)
        performNoteCommand (Note::reverseSelection, -1);
    else if (key == KeyPress ('d') && numSelected > 0)
        performNoteCommand (Note::duplicateSelection, -1);
    else if (key == KeyPress ('q'))
        performGridCommand (Grid::snapToGrid);
    else
        return key == KeyPress ('i') || key == KeyPress ('r') || key == KeyPress ('d'); // known keys, nothing to do

    return true;
}

} // namespace tarn

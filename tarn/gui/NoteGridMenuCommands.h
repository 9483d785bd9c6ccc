#pragma once

#include <tarn/sequence/SequenceEditing.h>

#include <optional>

namespace tarn
{

/** Menu results of the note grid's menus; the same number means different things in
    different menus. The Grid Size and the note menu's Sync submenus give GridSize
    identifiers, the note menu's Equal submenu 200 + strikes. */
namespace GridMenuCommand
{
    constexpr int resetLoopRegion = 301, selectAll = 401, paste = 402, invert = 500, reverse = 501,
                  halfSpeed = 502, doubleSpeed = 503, legato = 504, snapToGrid = 505;
}

namespace NoteMenuCommand
{
    constexpr int copy = 302, deleteNotes = 301, invertSelection = 400, reverseSelection = 401,
                  duplicateSelection = 402, flattenRepeats = 410, repeatsOff = 200, lastEqualRepeats = 299;
}

namespace ValueEditorCommand
{
    constexpr int resetAll = 101, rangeMode = 201;
}

/** The repeat a note-menu result stands for: 200 none, 200 + N that many equal strikes (201,
    a single strike, is none), a grid identifier strikes at that rate; nothing for any other
    result. [message thread] */
inline std::optional<NoteRepeat> noteRepeatForMenuResult (int command) noexcept
{
    if (GridSize::isValidIdentifier (command))
        return NoteRepeat::atRate (GridSize::fromIdentifier (command));

    if (command >= NoteMenuCommand::repeatsOff && command <= NoteMenuCommand::lastEqualRepeats)
        return NoteRepeat::equalStrikes (command - NoteMenuCommand::repeatsOff);

    return std::nullopt;
}

} // namespace tarn

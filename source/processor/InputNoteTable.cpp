#include "InputNoteTable.h"

int InputNoteTable::takePress (int channelIndex, int note) noexcept
{
    auto& entry = press (channelIndex, note);
    const auto result = (int) entry;
    entry = (juce::int8) unknown;
    return result;
}

int InputNoteTable::takeRawNote (int channelIndex, int note) noexcept
{
    auto& entry = raw (channelIndex, note);
    const auto result = (int) entry;
    entry = -1;
    return result;
}

void InputNoteTable::forgetRawNotes() noexcept
{
    rawNotes.fill (-1);
}

void InputNoteTable::clear() noexcept
{
    forgetRawNotes();

    presses.fill ((juce::int8) unknown);
}

#include "InputNoteTable.h"

int InputNoteTable::takePress (int channelIndex, int note) noexcept
{
    auto& entry = press (channelIndex, note);
    const auto result = (int) entry;
    entry = (juce::int8) unknown;
    return result;
}

void InputNoteTable::rememberRawNote (int channelIndex, int note, int sentNote) noexcept
{
    raw (channelIndex, note) = (juce::int8) (sentNote & 127);
    auto& count = rawCounts.at (channelIndex, note);

    if (count < 255)
        ++count;
}

int InputNoteTable::takeRawNote (int channelIndex, int note) noexcept
{
    auto& count = rawCounts.at (channelIndex, note);

    if (count == 0)
        return -1;

    auto& entry = raw (channelIndex, note);
    const auto result = (int) entry;

    if (--count == 0)
        entry = -1;

    return result;
}

void InputNoteTable::forgetRawNotes() noexcept
{
    rawNotes.fill (-1);
    rawCounts.fill (0);
}

void InputNoteTable::clear() noexcept
{
    forgetRawNotes();

    presses.fill ((juce::int8) unknown);
}

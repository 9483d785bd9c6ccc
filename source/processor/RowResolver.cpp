#include "RowResolver.h"

#include <tarn/processor/MidiNotes.h>
#include <tarn/sequence/PitchOffsetMessage.h>

namespace notes = tarn::MidiNotes;

RowResolver::RowResolver()
{
    sounding.reserve ((size_t) maxSoundingNotes);
}

std::bitset<128> RowResolver::getSoundingRows() const noexcept
{
    std::bitset<128> rows;

    for (const auto& note : sounding)
        rows.set (note.row & 127u);

    return rows;
}

void RowResolver::resolve (const juce::MidiBuffer& phraseEvents, juce::MidiBuffer& output, const RowList& rows, Options options) noexcept
{
    auto noteOnsLeft = maxNoteOnsPerBlock;

    for (const auto m : phraseEvents)
    {
        if (m.numBytes <= 0)
            continue;

        const juce::uint8* data = m.data;
        auto offset = 0;
        tarn::PitchOffsetMessage::UnwrappedBytes unwrapped;

        if (data[0] == 0xf0)
        {
            if (! tarn::PitchOffsetMessage::isWrapped (data, m.numBytes))
                continue;

            unwrapped = tarn::PitchOffsetMessage::unwrapBytes (data);
            data = unwrapped.bytes;
            offset = unwrapped.offset;
        }
        else if (data[0] == 0xff || m.numBytes < 3 || (data[0] & 0xf0) < 0x80 || (data[0] & 0xf0) > 0xa0)
        {
            if (data[0] != 0xff)
                output.addEvent (m.data, m.numBytes, m.samplePosition);

            continue;
        }

        const auto status = data[0] & 0xf0;
        const auto phraseChannel = data[0] & 0x0f;
        const auto rowIndex = data[1] & 0x7f;
        const auto velocity = data[2] & 0x7f;

        if (status == 0x90 && velocity > 0)
        {
            if (rowIndex < (int) rows.size() && ! rows[(size_t) rowIndex].muted)
                startRow (rows[(size_t) rowIndex], rowIndex, phraseChannel, velocity, offset, m.samplePosition, output, options, noteOnsLeft);
        }
        else if (status == 0xa0)
        {
            touchRow (rowIndex, phraseChannel, velocity, m.samplePosition, output);
        }
        else
        {
            endRow (rowIndex, phraseChannel, status == 0x80 ? velocity : 0, m.samplePosition, output);
        }
    }
}

void RowResolver::startRow (const CadenziumModifier& row, int rowIndex, int phraseChannel, int velocity, int offset, int sample, juce::MidiBuffer& output, Options options, int& noteOnsLeft) noexcept
{
    sources.size = 0;
    chord.find (row, options.fill, sources);

    const auto outputChannel = juce::jlimit (1, 16, row.channel) - 1;
    const auto shift = row.transpose + 12 * row.octave + offset;

    for (int i = 0; i < sources.size; ++i)
    {
        const auto& source = sources.notes[(size_t) i];

        if (source.pitch < 0)
            continue;

        const auto pitch = shift + source.pitch;

        if (pitch < 0 || pitch > 127 || noteOnsLeft <= 0 || (int) sounding.size() >= maxSoundingNotes)
            continue;

        // A passed-through velocity of 0 would turn the note-on into a note-off.
        const auto v = options.velocityPassthrough ? juce::jlimit (1, 127, juce::roundToInt (source.velocity * 127.0f)) : velocity;

        notes::add (output, 0x90 | outputChannel, pitch, v, sample);
        sounding.push_back ({ (juce::uint8) rowIndex, (juce::uint8) phraseChannel, (juce::uint8) outputChannel, (juce::uint8) pitch });
        --noteOnsLeft;
    }
}

void RowResolver::endRow (int rowIndex, int phraseChannel, int velocity, int sample, juce::MidiBuffer& output) noexcept
{
    size_t kept = 0;

    for (const auto& note : sounding)
    {
        if (note.row == rowIndex && note.phraseChannel == phraseChannel)
            notes::addNoteOff (output, note.outputChannel, note.pitch, sample, velocity);
        else
            sounding[kept++] = note;
    }

    sounding.resize (kept);
}

void RowResolver::touchRow (int rowIndex, int phraseChannel, int pressure, int sample, juce::MidiBuffer& output) const noexcept
{
    // Aftertouch follows the notes but, unlike a note-off, leaves them sounding.
    for (const auto& note : sounding)
        if (note.row == rowIndex && note.phraseChannel == phraseChannel)
            notes::add (output, 0xa0 | note.outputChannel, note.pitch, pressure, sample);
}

#pragma once

#include <array>
#include <cstddef>

namespace tarn
{

/** One value per MIDI channel (index 0..15) and note (0..127): the fixed table every stage
    that must answer a note-on with its note-off keeps its bookkeeping in. No allocation,
    noexcept throughout; out-of-range indices wrap into range rather than read outside. */
template <typename Value>
class NoteTable
{
public:
    static constexpr int numChannels = 16;
    static constexpr int numNotes = 128;

    NoteTable() = default;
    explicit NoteTable (Value initial) noexcept { fill (initial); }

    Value& at (int channelIndex, int note) noexcept { return cells[(std::size_t) (channelIndex & 15)][(std::size_t) (note & 127)]; }
    const Value& at (int channelIndex, int note) const noexcept { return cells[(std::size_t) (channelIndex & 15)][(std::size_t) (note & 127)]; }

    void fill (const Value& value) noexcept
    {
        for (auto& channel : cells)
            channel.fill (value);
    }

    /** Calls function (channelIndex, note, value&) for every cell, channel by channel. */
    template <typename Function>
    void forEach (Function&& function) noexcept
    {
        for (int channel = 0; channel < numChannels; ++channel)
            for (int note = 0; note < numNotes; ++note)
                function (channel, note, cells[(std::size_t) channel][(std::size_t) note]);
    }

private:
    std::array<std::array<Value, numNotes>, numChannels> cells {};
};

} // namespace tarn

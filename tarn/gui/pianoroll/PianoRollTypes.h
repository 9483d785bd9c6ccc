#pragma once

#include <juce_core/juce_core.h>

#include <bitset>
#include <vector>

namespace tarn
{

/** One row of the row table as the grid labels it. */
struct PianoRollRow
{
    juce::String label;
    bool muted = false;

    bool operator== (const PianoRollRow& other) const noexcept { return label == other.label && muted == other.muted; }
};

/** What the audio thread reported last about the edited phrase, as the owner polled it from
    the processor's thread-safe getters. A plain value. */
struct PlaybackSnapshot
{
    bool isPlaying = false; // the edited phrase is the one playing and its position moves
    double playheadTick = -1.0; // where in the phrase the play head is, −1 for nowhere
    std::bitset<128> soundingRows; // rows with a note sounding now
    bool knowsSoundingRows = false; // false: light the notes under the play head instead

    bool operator== (const PlaybackSnapshot& other) const noexcept
    {
        return isPlaying == other.isPlaying && playheadTick == other.playheadTick && soundingRows == other.soundingRows
               && knowsSoundingRows == other.knowsSoundingRows;
    }
};

/** The note grid's pointer tools. */
enum class NoteTool
{
    cursor = 1,
    pencil = 2,
    loop = 3,
    brush = 4
};

/** The help texts of the piano roll's tools, shown as their tooltips. */
namespace PianoRollHelp
{
inline constexpr const char* cursor = "Cursor: Select notes by clicking or dragging a selection box. Hold shift for multiple selection. Double click to create notes.";
inline constexpr const char* pencil = "Pencil: Draw notes with variable lengths.";
inline constexpr const char* brush = "Brush: Click and drag to create multiple notes based on the grid size.";
inline constexpr const char* loop = "Loop: Edit the loop regions for individual rows.";

inline constexpr const char* curveEditor = "Curve editor: Click to create points. Hold CMD/ALT and drag on lines up/down or left/right to adjust curve shape.";
inline constexpr const char* curveCursor = "Cursor: Select and drag note curve node";
inline constexpr const char* curvePencil = "Pencil: Draw curves in the editor";
inline constexpr const char* curveSteps = "Steps: Draw shapes in steps";
inline constexpr const char* curvePencilEditor = "Curve editor: Click and drag to draw shapes";
inline constexpr const char* curveStepsEditor = "Curve editor: Click and drag to draw steps";

inline constexpr const char* length = "Length: Set the sequence loop length in Bars.Beats.Sixteenths. Double click to type a value";
inline constexpr const char* timeSignature = "Time Signature: Set the sequence time signature";
inline constexpr const char* repeat = "Repeat: Set the number of repeats a phrase will play before stopping";
} // namespace PianoRollHelp

} // namespace tarn

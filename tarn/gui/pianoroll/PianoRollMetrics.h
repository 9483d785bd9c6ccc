#pragma once

namespace tarn::PianoRollMetrics
{
// Sizes of the piano roll's parts, in pixels, each named once.
constexpr int toolBarHeight = 30;
constexpr int rulerHeight = 20;
constexpr int scrollBarThickness = 10;
constexpr int laneBarHeight = 24;
constexpr int valueEditorHeight = 110;
/** A tall piano roll gives this share of its height to the value editor, never less than the above. */
constexpr float valueEditorShare = 0.18f;
constexpr int toolButtonWidth = 30;
constexpr int phraseControlGap = 8;

constexpr double smallestRowHeight = 18.0;
// Few rows share a tall window's height up to this; beyond it, empty lanes above them
// continue the grid (a lane much taller than its notes reads as a wasted band).
constexpr double largestRowHeight = 64.0;

/** How close to a note's edge, or a loop's, the pointer takes the edge. */
constexpr int edgeGrabPixels = 6;

/** How close to a curve point the pointer takes the point. */
constexpr int pointGrabPixels = 6;

/** How often the piano roll looks at what plays. */
constexpr int playbackTimerHz = 30;
} // namespace tarn::PianoRollMetrics

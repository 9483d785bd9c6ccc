#pragma once

namespace tarn::PianoRollMetrics
{
// Sizes of the piano roll's parts, in pixels, each named once.
constexpr int toolBarHeight = 30;
constexpr int rulerHeight = 20;
constexpr int scrollBarThickness = 10;
constexpr int laneBarHeight = 24;
constexpr int valueEditorHeight = 110;
constexpr int toolButtonWidth = 30;
constexpr int phraseControlGap = 8;

constexpr double smallestRowHeight = 18.0;
constexpr double largestRowHeight = 64.0;

/** How close to a note's edge, or a loop's, the pointer takes the edge. */
constexpr int edgeGrabPixels = 6;

/** How close to a curve point the pointer takes the point. */
constexpr int pointGrabPixels = 6;

/** How often the piano roll looks at what plays. */
constexpr int playbackTimerHz = 30;
} // namespace tarn::PianoRollMetrics

#pragma once

#include <tarn/gui/Theme.h>

namespace tarn::PianoRollText
{
// Text sizes of the piano roll before the theme's scale, from the editor's own.
constexpr float normal = TarnLibLookAndFeel::defaultTextSize;
constexpr float small = TarnLibLookAndFeel::defaultTextSize * 0.85f;
constexpr float smallest = TarnLibLookAndFeel::defaultTextSize * 0.7f;
} // namespace tarn::PianoRollText

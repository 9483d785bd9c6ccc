#pragma once

#include <optional>

namespace consts
{
/** What one generation run rebuilds. The values are the indices the regeneration panel
    passes and must not change. */
enum class RegenerationMode
{
    phrase = 0, // row loops reset, notes of unlocked rows replaced, attributes drawn, lanes filled
    notes = 1, // notes of unlocked rows replaced, attributes drawn
    controllers = 2, // controller lanes filled
    velocity = 3, // velocity of every note on an unlocked row
    chance = 4,
    transpose = 5,
    octave = 6
};

/** The mode for a panel index, or nothing for an index that is not one. [any thread] */
inline std::optional<RegenerationMode> regenerationModeFromIndex (int index) noexcept
{
    if (index < (int) RegenerationMode::phrase || index > (int) RegenerationMode::octave)
        return std::nullopt;

    return static_cast<RegenerationMode> (index);
}
} // namespace consts

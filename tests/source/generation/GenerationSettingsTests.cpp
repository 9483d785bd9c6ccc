#include "GenerationTestSupport.h"

#include <source/processor/Cadenzium2AudioProcessor.h>

TEST (GenerationSettings, snapshotsReadTheParametersRoundedAndClamped)
{
    Cadenzium2AudioProcessor processor;
    const std::pair<const char*, float> values[] = { { "g_note_polyphony", 2.0f }, { "g_note_mode", 3.0f }, { "g_note_length", 5.0f }, { "g_note_density", 62.5f }, { "g_chord_density", 33.3f }, { "g_velocity_min", 90.0f }, { "g_velocity_max", 40.0f }, { "g_transpose_min", -24.0f }, { "g_octave_chance", 57.0f }, { "m_notes_changed", 12.0f }, { "m_timing", 2.0f }, { "m_length", 50.0f } };

    for (const auto& [id, value] : values)
        processor.setRawParameterValueNotifyingHost (id, value);

    const auto g = GenerationSettings::fromParameters (processor.getParameterState());
    EXPECT_TRUE (g.polyphony == GenerationSettings::Polyphony::chords && g.mode == GenerationSettings::Mode::reverse);
    EXPECT_NEAR (g.chordDensity, 33.3f, 0.01f);
    // The minimum is kept above the maximum (it wins when drawing); halves round to even.
    EXPECT_EQ (std::tuple (g.lengthIndex, g.velocityMin, g.velocityMax, g.transposeMin, g.octaveChance, g.density), std::tuple (5, 90, 40, -24, 57, 62));

    const auto m = MutationSettings::fromParameters (processor.getParameterState());
    EXPECT_EQ (std::tuple (m.chance, m.timing, m.pitch, m.length), std::tuple (12, 2, 1, 50));
}

#include "GenerationTestSupport.h"

#include <source/processor/Cadenzium2AudioProcessor.h>

namespace
{
void setRaw (Cadenzium2AudioProcessor& processor, const char* id, float value)
{
    auto* parameter = processor.getParameterState().getParameter (id);
    ASSERT_NE (parameter, nullptr) << id;
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (value));
}
} // namespace

TEST (GenerationSettings, snapshotsReadTheParametersRoundedAndClamped)
{
    Cadenzium2AudioProcessor processor;
    setRaw (processor, "g_note_polyphony", 2.0f);
    setRaw (processor, "g_note_mode", 3.0f);
    setRaw (processor, "g_note_length", 5.0f);
    setRaw (processor, "g_note_density", 62.5f); // halves to even
    setRaw (processor, "g_chord_density", 33.3f);
    setRaw (processor, "g_velocity_min", 90.0f);
    setRaw (processor, "g_velocity_max", 40.0f);
    setRaw (processor, "g_transpose_min", -24.0f);
    setRaw (processor, "g_octave_chance", 57.0f);
    setRaw (processor, "m_notes_changed", 12.0f);
    setRaw (processor, "m_timing", 2.0f);
    setRaw (processor, "m_length", 50.0f);

    const auto g = GenerationSettings::fromParameters (processor.getParameterState());
    EXPECT_EQ (g.polyphony, GenerationSettings::Polyphony::chords);
    EXPECT_EQ (g.mode, GenerationSettings::Mode::reverse);
    EXPECT_EQ (g.lengthIndex, 5);
    EXPECT_NEAR (g.chordDensity, 33.3f, 0.01f);
    EXPECT_EQ (g.velocityMin, 90);
    EXPECT_EQ (g.velocityMax, 40); // kept: the minimum wins when drawing
    EXPECT_EQ (g.transposeMin, -24);
    EXPECT_EQ (g.octaveChance, 57);
    EXPECT_EQ (g.density, 62);

    const auto m = MutationSettings::fromParameters (processor.getParameterState());
    EXPECT_EQ (m.chance, 12);
    EXPECT_EQ (m.timing, 2);
    EXPECT_EQ (m.pitch, 1); // the default
    EXPECT_EQ (m.length, 50);
}

TEST (GenerationSettings, lengthVariationSetsHowManyExponentsANoteMayAdd)
{
    // 6 * v / 100 rounded, halves to even (1.5 -> 2, 4.5 -> 4), plus one; any variation adds one.
    GenerationSettings s;
    const std::pair<float, int> expected[] = { { 0.0f, 1 }, { 5.0f, 2 }, { 8.0f, 2 }, { 25.0f, 3 }, { 50.0f, 4 }, { 75.0f, 5 }, { 100.0f, 7 } };

    for (const auto& [variation, bound] : expected)
    {
        s.lengthVariation = variation;
        EXPECT_EQ (s.getVariationBound(), bound) << variation;
    }
}

#pragma once

/** Parameter identifiers, in the order the host sees the parameters. */
namespace ParameterIds
{
inline constexpr const char* enable = "enable";
inline constexpr const char* keyswitchEnable = "keyswitch_enable";
inline constexpr const char* keyswitchHold = "keyswitch_hold";
inline constexpr const char* keyswitchRetrigger = "keyswitch_retrigger";
inline constexpr const char* keyswitchRange = "keyswitch_range";
inline constexpr const char* inputLatch = "input_latch";
inline constexpr const char* inputFill = "input_fill";
inline constexpr const char* inputRetrigger = "input_retrigger";
inline constexpr const char* inputCcPassthrough = "input_cc_passthrough";
inline constexpr const char* lockToKey = "lock_to_key";
inline constexpr const char* swingAmount = "swing_amount";
inline constexpr const char* internal = "internal";
inline constexpr const char* dawTransportOnly = "daw_transport_only";
inline constexpr const char* randomVelocity = "random_velocity";
inline constexpr const char* velocityScaleLow = "velocity_scale_low";
inline constexpr const char* velocityScaleHigh = "velocity_scale_high";
inline constexpr const char* notePassthrough = "note_passthrough";
inline constexpr const char* velocityPassthrough = "velocity_passthrough";
inline constexpr const char* genNotePolyphony = "g_note_polyphony";
inline constexpr const char* genNoteMode = "g_note_mode";
inline constexpr const char* genChordDensity = "g_chord_density";
inline constexpr const char* genNoteDensity = "g_note_density";
inline constexpr const char* genNoteLength = "g_note_length";
inline constexpr const char* genNoteLengthVariation = "g_note_length_variation";
inline constexpr const char* genNoteChanceMin = "g_note_chance_min";
inline constexpr const char* genNoteChanceMax = "g_note_chance_max";
inline constexpr const char* genVelocityMin = "g_velocity_min";
inline constexpr const char* genVelocityMax = "g_velocity_max";
inline constexpr const char* genTransposeMin = "g_transpose_min";
inline constexpr const char* genTransposeMax = "g_transpose_max";
inline constexpr const char* genTransposeChance = "g_transpose_chance";
inline constexpr const char* genOctaveMin = "g_octave_min";
inline constexpr const char* genOctaveMax = "g_octave_max";
inline constexpr const char* genOctaveChance = "g_octave_chance";
inline constexpr const char* notePassthroughScale = "note_passthrough_scale";
inline constexpr const char* noteOutputRangeLow = "note_output_range_low";
inline constexpr const char* noteOutputRangeHigh = "note_output_range_high";
inline constexpr const char* mutationNotesChanged = "m_notes_changed";
inline constexpr const char* mutationTiming = "m_timing";
inline constexpr const char* mutationPitch = "m_pitch";
inline constexpr const char* mutationLength = "m_length";
inline constexpr const char* mutationVelocity = "m_velocity";

inline constexpr int count = 42;
} // namespace ParameterIds

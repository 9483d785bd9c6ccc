#include "ControlTables.h"

#include <source/processor/ParameterIds.h>

namespace ControlTables
{
namespace id = ParameterIds;
using K = ControlKind;

const std::vector<ControlEntry>& keyswitches()
{
    static const std::vector<ControlEntry> table {
        { id::keyswitchEnable, "Enable", "Enable: Enable switching phrases using keyswitches", id::keyswitchEnable, nullptr, K::toggle },
        { id::keyswitchHold, "Hold", "Hold: The phrase only plays while keeping the keyswitch held", id::keyswitchHold, nullptr, K::toggle },
        { id::keyswitchRetrigger, "Retrigger", "Retrigger: Keyswitching will retrigger the phrase back to the beginning", id::keyswitchRetrigger, nullptr, K::toggle },
        { id::keyswitchRange, "Range", "Range: Which octave the keyswitches are in", id::keyswitchRange, nullptr, K::combo },
    };
    return table;
}

const std::vector<ControlEntry>& input()
{
    static const std::vector<ControlEntry> table {
        { id::inputLatch, "Latch", "Input Latch: Notes will stay playing after note off, and stop when a new input is detected", id::inputLatch, nullptr, K::toggle },
        { id::inputFill, "Fill", "Input Fill: Notes will be intelligently created in octaves above what is played in", id::inputFill, nullptr, K::toggle },
        { id::dawTransportOnly, "DAW Timeline", "DAW Timeline Only: When disabled, playback will continue when the DAW is stopped", id::dawTransportOnly, nullptr, K::toggle },
        { id::inputRetrigger, "Retrigger", "Input Retrigger: Any new notes played in will retrigger the sequence", id::inputRetrigger, nullptr, K::combo },
    };
    return table;
}

const std::vector<ControlEntry>& modifiers()
{
    static const std::vector<ControlEntry> table {
        { id::lockToKey, "Key Lock", "Key Lock: Transposes any notes to match the key signature", id::lockToKey, nullptr, K::toggle },
        { keySignatureId, "Key", "Key Signature: The key signature to use for the output", nullptr, nullptr, K::setting },
        { id::swingAmount, "Swing", "Swing: Set the swing amount", id::swingAmount, nullptr, K::slider },
        { swingSpeedId, "Swing Speed", "Swing Speed: Set the swing speed", nullptr, nullptr, K::setting },
        { id::randomVelocity, "Random Velocity", "Random Velocity: Add a random velocity to each note", id::randomVelocity, nullptr, K::slider },
        { id::velocityScaleLow, "V. Low", "Velocity Low: Map the output velocity range from 0-127 to low-high", id::velocityScaleLow, nullptr, K::slider },
        { id::velocityScaleHigh, "V. High", "Velocity High: Map the output velocity range from 0-127 to low-high", id::velocityScaleHigh, nullptr, K::slider },
        { id::noteOutputRangeLow, "Output Range", "Output Range: Limit notes to a range", id::noteOutputRangeLow, id::noteOutputRangeHigh, K::range },
    };
    return table;
}

const std::vector<ControlEntry>& passthrough()
{
    static const std::vector<ControlEntry> table {
        { id::inputCcPassthrough, "CC Passthrough", "CC Passthrough: Any controller data will be passed through unmodified", id::inputCcPassthrough, nullptr, K::toggle },
        { id::notePassthrough, "Note Passthrough", "Note Passthrough: Any non-keyswitch notes will be passed through unmodified", id::notePassthrough, nullptr, K::toggle },
        { id::velocityPassthrough, "Velocity Passthrough", "Velocity Passthrough: Velocities from the input will be used for the output", id::velocityPassthrough, nullptr, K::toggle },
        { id::notePassthroughScale, "Passthrough To Key Lock", "Passthrough To Key Lock: If enabled, notes that are passed through will be affected by the scale", id::notePassthroughScale, nullptr, K::toggle },
    };
    return table;
}

const std::vector<ControlEntry>& noteGeneration()
{
    static const std::vector<ControlEntry> table {
        { id::genNoteMode, "Mode", "Generation Mode: Select unique modes of generation", id::genNoteMode, nullptr, K::combo },
        { id::genNotePolyphony, "Polyphony", "Polyphony Mode: Select different polyphony style", id::genNotePolyphony, nullptr, K::choice },
        { id::genNoteLength, "Note Length", "Note Length: How long the generated notes are", id::genNoteLength, nullptr, K::combo },
        { id::genChordDensity, "Chord Density", "Chord Density: How many notes are generate per chord", id::genChordDensity, nullptr, K::knob },
        { id::genNoteDensity, "Note Density", "Note Density: How many notes to generate", id::genNoteDensity, nullptr, K::knob },
        { id::genNoteLengthVariation, "Variation", "Note Length Variation: How varied the lengths are from the base value", id::genNoteLengthVariation, nullptr, K::knob },
    };
    return table;
}

const std::vector<ControlEntry>& modifierGeneration()
{
    static const std::vector<ControlEntry> table {
        { id::genVelocityMin, "Velocity", "Note Velocity: The range of velocity values to generate", id::genVelocityMin, id::genVelocityMax, K::range },
        { id::genNoteChanceMin, "Chance", "Note Chance: The chance value to generate", id::genNoteChanceMin, id::genNoteChanceMax, K::range },
        { id::genTransposeMin, "Transpose", "Note Transpose: The range of transpose values to generate", id::genTransposeMin, id::genTransposeMax, K::range },
        { id::genTransposeChance, "Transpose Chance", "Note Transpose Chance: The probability of a transpose modifier", id::genTransposeChance, nullptr, K::slider },
        { id::genOctaveMin, "Octave", "Note Octave: The range of octave values to generate", id::genOctaveMin, id::genOctaveMax, K::range },
        { id::genOctaveChance, "Octave Chance", "Note Octave Chance: The probability of a octave modifier", id::genOctaveChance, nullptr, K::slider },
    };
    return table;
}

const std::vector<ControlEntry>& mutation()
{
    static const std::vector<ControlEntry> table {
        { id::mutationNotesChanged, "Mutate Chance", "Chance: The approximate percentage of unlocked notes to mutate. Simultaneous notes are selected together.", id::mutationNotesChanged, nullptr, K::knob },
        { id::mutationTiming, "Timing", "Timing: Move note starts earlier or later by up to this many editor grid steps. Off keeps the existing timing.", id::mutationTiming, nullptr, K::knob },
        { id::mutationPitch, "Pitch", "Pitch: Move notes up or down by up to this many available Pitch row assignments, ordered by incoming-note rank. Other row types keep their assignment.", id::mutationPitch, nullptr, K::knob },
        { id::mutationLength, "Length", "Length: Shorten or extend notes by up to this percentage of their current length. Zero keeps existing lengths.", id::mutationLength, nullptr, K::knob },
        { id::mutationVelocity, "Velocity", "Velocity: Raise or lower existing velocities by up to this amount, preserving velocity ranges. Zero keeps existing velocities.", id::mutationVelocity, nullptr, K::knob },
    };
    return table;
}

const std::vector<RegenerationEntry>& regeneration()
{
    using consts::RegenerationMode;
    static const std::vector<RegenerationEntry> table {
        { "Phrase", "Phrase: Regenerate a new phrase", RegenerationMode::phrase },
        { "Notes", "Notes: Regenerate all notes", RegenerationMode::notes },
        { "Velocity", "Velocity: Regenerate all note velocities", RegenerationMode::velocity },
        { "Chance", "Chance: Regenerate all note chance values", RegenerationMode::chance },
        { "Transpose", "Transpose: Regenerate all note transpose values", RegenerationMode::transpose },
        { "Octave", "Octave: Regenerate all note octave values", RegenerationMode::octave },
        { "Controllers", "Controllers: Regenerate all controllers", RegenerationMode::controllers },
    };
    return table;
}

const CommandEntry& mutationPanelMutate()
{
    static const CommandEntry entry { "mutation_panel_mutate", "Mutate", "Mutate: Create a variation of the current phrase using unlocked rows. Each click can be undone.", nullptr };
    return entry;
}

namespace Commands
{
const CommandEntry& newRow()
{
    static const CommandEntry entry { "new_row", "New Row", "New Row: Create a new row in the phrase editor", "plus" };
    return entry;
}

const CommandEntry& undo()
{
    static const CommandEntry entry { "undo", "Undo", "Nothing to undo", "undo" };
    return entry;
}

const CommandEntry& redo()
{
    static const CommandEntry entry { "redo", "Redo", "Nothing to redo", "redo" };
    return entry;
}

const CommandEntry& keyboardPreview()
{
    static const CommandEntry entry { "keyboard_preview", "Keyboard Preview", "Keyboard View: Toggle the keyboard view", "piano" };
    return entry;
}

const CommandEntry& sidebarToggle()
{
    static const CommandEntry entry { "sidebar_toggle", "Sidebar Toggle", "Sidebar View: Toggle the sidebar", "sidebar" };
    return entry;
}

const CommandEntry& importMidi()
{
    static const CommandEntry entry { "import_midi", "Import MIDI", "Import MIDI Pattern: Loads a MIDI file into the piano roll. You can drag and drop a file onto this button", "fileimport" };
    return entry;
}

const CommandEntry& renderMidi()
{
    static const CommandEntry entry { "render_midi", "Render MIDI", "Render MIDI: Applies the current Cadenzium pattern to a MIDI chord progression", "fileexport" };
    return entry;
}

const CommandEntry& loadV1Preset()
{
    static const CommandEntry entry { "load_v1_preset", "Load v1 Preset", "Load v1 Preset: Loads a preset from version 1 of Cadenzium. You can drag and drop a file onto this button. Right click for bulk conversion", "folder" };
    return entry;
}

const CommandEntry& generate()
{
    static const CommandEntry entry { "generate", "Generate", "Generate: Generate a new sequence using the settings from the generation panel", "shuffle" };
    return entry;
}

const CommandEntry& mutate()
{
    static const CommandEntry entry { "mutate", "Mutate", "Mutate: Create a variation of the current phrase using the settings from the Mutation panel", "syncalt" };
    return entry;
}

const CommandEntry& panic()
{
    static const CommandEntry entry { "panic", "Panic", "Panic: Kill all notes and reset in case of hanging notes", "exclamation" };
    return entry;
}
} // namespace Commands
} // namespace ControlTables

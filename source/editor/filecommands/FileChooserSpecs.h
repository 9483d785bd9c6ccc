#pragma once

#include <tarn/gui/files/FileChooserLauncher.h>

/** The file choosers of the window's import and render buttons: titles, file patterns and
    where they start. */
namespace FileChooserSpecs
{
inline const juce::StringArray midiExtensions { ".mid", ".midi" };
inline const juce::StringArray v1PresetExtensions { ".bpre" };

/** The render button: a chord progression, from the example progressions a user install
    put in the product folder, else those a package installed, else the documents folder. */
tarn::FileChooserLauncher::Request chordProgression();

/** "Import MIDI Pattern": a MIDI file, from the documents folder. */
tarn::FileChooserLauncher::Request midiPattern();

/** "Load v1 Preset": a first-version preset, from the first version's user presets. */
tarn::FileChooserLauncher::Request v1Preset();

/** "Bulk Convert": a folder of first-version presets, opening at the first version's user presets. */
tarn::FileChooserLauncher::Request v1PresetFolder();

/** Where the render chooser opens (see chordProgression). */
juce::File chordProgressionStartFolder();

/** <config>/Brindlex/Cadenzium/Presets/User: where the first version kept the user's presets. */
juce::File v1UserPresetFolder();
} // namespace FileChooserSpecs

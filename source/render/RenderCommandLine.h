#pragma once

#include <juce_core/juce_core.h>

#include <optional>

/** The command line of `cadenzium-render`, which renders a pattern over a chord progression
    without a host:

        cadenzium-render CHORDS.mid [--preset FILE.bpre | --state FILE] [--phrase N] [--seed N] [-o OUT.mid]
*/
namespace RenderCommandLine
{
struct Options
{
    juce::File chordFile;
    juce::File presetFile; // a preset file, or none
    juce::File stateFile; // a state as a host saves it (binary) or as XML text, or none
    std::optional<int> phrase; // 0-based slot (the command line counts from 1); none: the state's
    std::optional<juce::int64> seed;
    juce::File outputFile; // none: next to the chord file, as the editor names it
    bool showHelp = false;
};

/** The options, or an error message for the user. Relative paths are resolved against
        `workingFolder`. */
struct Parsed
{
    Options options;
    juce::String error;
};

/** [any thread] */
Parsed parse (const juce::StringArray& arguments, const juce::File& workingFolder);

/** What `--help` prints. [any thread] */
juce::String getHelpText();
} // namespace RenderCommandLine
